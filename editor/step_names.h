#pragma once

#include <cstddef>
#include <string>

#include "vesk/translatable.h"

namespace orv {

// Names of the undo history's steps, as the undo and redo menu entries show them.
namespace step_name {
inline constexpr char16_t kType[] = ORV_TR_NOOP16("orv", "エミッター種別");
inline constexpr char16_t kBlend[] = ORV_TR_NOOP16("orv", "ブレンド方法");
inline constexpr char16_t kSort[] = ORV_TR_NOOP16("orv", "ソート");
inline constexpr char16_t kEnableColor[] = ORV_TR_NOOP16("orv", "色を反映");
inline constexpr char16_t kColorConstant[] = ORV_TR_NOOP16("orv", "色変化なし");
inline constexpr char16_t kTextureDirection[] = ORV_TR_NOOP16("orv", "進行方向に向きを合わせる");
inline constexpr char16_t kTexture[] = ORV_TR_NOOP16("orv", "テクスチャ");
inline constexpr char16_t kDroppedTexture[] = ORV_TR_NOOP16("orv", "テクスチャのドロップ");
inline constexpr char16_t kAdd[] = ORV_TR_NOOP16("orv", "エミッターの追加");
inline constexpr char16_t kDelete[] = ORV_TR_NOOP16("orv", "エミッターの削除");
inline constexpr char16_t kRename[] = ORV_TR_NOOP16("orv", "名前の変更");
inline constexpr char16_t kMoveUp[] = ORV_TR_NOOP16("orv", "上へ");
inline constexpr char16_t kMoveDown[] = ORV_TR_NOOP16("orv", "下へ");
inline constexpr char16_t kPosition[] = ORV_TR_NOOP16("orv", "エミッターの位置");
inline constexpr char16_t kReset[] = ORV_TR_NOOP16("orv", "リセット");
inline constexpr char16_t kMergeLoad[] = ORV_TR_NOOP16("orv", "追加読込み");
inline constexpr char16_t kSetBackgroundImage[] = ORV_TR_NOOP16("orv", "背景画像を指定");
inline constexpr char16_t kReleaseBackgroundImage[] = ORV_TR_NOOP16("orv", "背景画像を開放");
inline constexpr char16_t kSeed[] = ORV_TR_NOOP16("orv", "シード");
}  // namespace step_name

// A parameter row's name in words ("最大個数", "背景色R").
std::u16string RowStepName(std::size_t row);

}  // namespace orv
