#pragma once

#include <cstddef>
#include <string>

namespace orv {

// Names of the undo history's steps, as the undo and redo menu entries show them.
namespace step_name {
inline constexpr char16_t kType[] = u"エミッター種別";
inline constexpr char16_t kBlend[] = u"ブレンド方法";
inline constexpr char16_t kSort[] = u"ソート";
inline constexpr char16_t kEnableColor[] = u"色を反映";
inline constexpr char16_t kColorConstant[] = u"色変化なし";
inline constexpr char16_t kTextureDirection[] = u"進行方向に向きを合わせる";
inline constexpr char16_t kTexture[] = u"テクスチャ";
inline constexpr char16_t kDroppedTexture[] = u"テクスチャのドロップ";
inline constexpr char16_t kAdd[] = u"エミッターの追加";
inline constexpr char16_t kDelete[] = u"エミッターの削除";
inline constexpr char16_t kRename[] = u"名前の変更";
inline constexpr char16_t kMoveUp[] = u"上へ";
inline constexpr char16_t kMoveDown[] = u"下へ";
inline constexpr char16_t kPosition[] = u"エミッターの位置";
inline constexpr char16_t kReset[] = u"リセット";
inline constexpr char16_t kMergeLoad[] = u"追加読込み";
inline constexpr char16_t kSetBackgroundImage[] = u"背景画像を指定";
inline constexpr char16_t kReleaseBackgroundImage[] = u"背景画像を開放";
inline constexpr char16_t kSeed[] = u"シード";
}  // namespace step_name

// A parameter row's name in words ("最大個数", "背景色R").
std::u16string RowStepName(std::size_t row);

}  // namespace orv
