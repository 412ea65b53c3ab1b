<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>QObject</name>
    <message>
        <source> 秒</source>
        <translation> s</translation>
    </message>
</context>
<context>
    <name>orv</name>
    <message>
        <source>出力時間が短すぎます。</source>
        <translation>The length is too short.</translation>
    </message>
    <message>
        <source>出力先が指定されていません。</source>
        <translation>No output is given.</translation>
    </message>
    <message>
        <source>出力先フォルダの名前が正しくありません。</source>
        <translation>The output folder&apos;s name is not valid.</translation>
    </message>
    <message>
        <source>出力先フォルダを作成できません。</source>
        <translation>The output folder cannot be created.</translation>
    </message>
    <message>
        <source>エミッター種別</source>
        <translation>Emitter type</translation>
    </message>
    <message>
        <source>ブレンド方法</source>
        <translation>Blending</translation>
    </message>
    <message>
        <source>ソート</source>
        <translation>Sort order</translation>
    </message>
    <message>
        <source>色を反映</source>
        <translation>Tint with colour</translation>
    </message>
    <message>
        <source>色変化なし</source>
        <translation>Constant colour</translation>
    </message>
    <message>
        <source>進行方向に向きを合わせる</source>
        <translation>Turn along motion</translation>
    </message>
    <message>
        <source>テクスチャ</source>
        <translation>Texture</translation>
    </message>
    <message>
        <source>テクスチャのドロップ</source>
        <translation>Dropped texture</translation>
    </message>
    <message>
        <source>エミッターの追加</source>
        <translation>Add emitter</translation>
    </message>
    <message>
        <source>エミッターの削除</source>
        <translation>Delete emitter</translation>
    </message>
    <message>
        <source>名前の変更</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>上へ</source>
        <translation>Move up</translation>
    </message>
    <message>
        <source>下へ</source>
        <translation>Move down</translation>
    </message>
    <message>
        <source>エミッターの位置</source>
        <translation>Emitter position</translation>
    </message>
    <message>
        <source>リセット</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>追加読込み</source>
        <translation>Merge load</translation>
    </message>
    <message>
        <source>背景画像を指定</source>
        <translation>Set background image</translation>
    </message>
    <message>
        <source>背景画像を開放</source>
        <translation>Remove background image</translation>
    </message>
    <message>
        <source>読込みエラー</source>
        <translation>Read error</translation>
    </message>
    <message>
        <source>書き込みエラー</source>
        <translation>Write error</translation>
    </message>
    <message>
        <source>ファイル名が指定されていません。</source>
        <translation>No file name is given.</translation>
    </message>
    <message>
        <source>最大個数</source>
        <translation>Max particles</translation>
    </message>
    <message>
        <source>最大個数 : %5d個</source>
        <translation>Max particles : %5d</translation>
    </message>
    <message>
        <source>生存期間</source>
        <translation>Lifespan</translation>
    </message>
    <message>
        <source>生存期間 : %2d.%1d秒</source>
        <translation>Lifespan : %2d.%1d s</translation>
    </message>
    <message>
        <source>生存期間振れ幅</source>
        <translation>Lifespan variance</translation>
    </message>
    <message>
        <source>生存期間振れ幅 : %2d.%1d秒</source>
        <translation>Lifespan var. : %2d.%1d s</translation>
    </message>
    <message>
        <source>初期サイズ</source>
        <translation>Start size</translation>
    </message>
    <message>
        <source>初期サイズ : %2d.%1dピクセル</source>
        <translation>Start size : %2d.%1d px</translation>
    </message>
    <message>
        <source>初期サイズ振れ幅</source>
        <translation>Start size variance</translation>
    </message>
    <message>
        <source>初期サイズ振れ幅 : %2d.%1dピクセル</source>
        <translation>Start size var. : %2d.%1d px</translation>
    </message>
    <message>
        <source>最終サイズ</source>
        <translation>Finish size</translation>
    </message>
    <message>
        <source>最終サイズ : %2d.%1dピクセル</source>
        <translation>Finish size : %2d.%1d px</translation>
    </message>
    <message>
        <source>最終サイズ振れ幅</source>
        <translation>Finish size variance</translation>
    </message>
    <message>
        <source>最終サイズ振れ幅 : %2d.%1dピクセル</source>
        <translation>Finish size var. : %2d.%1d px</translation>
    </message>
    <message>
        <source>放出角度</source>
        <translation>Emission angle</translation>
    </message>
    <message>
        <source>放出角度 : %3d.%1d度</source>
        <translation>Angle : %3d.%1d°</translation>
    </message>
    <message>
        <source>放出角度振れ幅</source>
        <translation>Emission angle variance</translation>
    </message>
    <message>
        <source>放出角度振れ幅 : %3d.%1d度</source>
        <translation>Angle var. : %3d.%1d°</translation>
    </message>
    <message>
        <source>初期回転量</source>
        <translation>Start rotation</translation>
    </message>
    <message>
        <source>初期回転量 : %3d.%1d度</source>
        <translation>Start rotation : %3d.%1d°</translation>
    </message>
    <message>
        <source>初期回転量振れ幅</source>
        <translation>Start rotation variance</translation>
    </message>
    <message>
        <source>初期回転量振れ幅 : %3d.%1d度</source>
        <translation>Start rot. var. : %3d.%1d°</translation>
    </message>
    <message>
        <source>回転速度</source>
        <translation>Rotation speed</translation>
    </message>
    <message>
        <source>回転速度 : %4d.%1d度</source>
        <translation>Spin : %4d.%1d°</translation>
    </message>
    <message>
        <source>回転速度振れ幅</source>
        <translation>Rotation speed variance</translation>
    </message>
    <message>
        <source>回転速度振れ幅 : %4d.%1d度</source>
        <translation>Spin var. : %4d.%1d°</translation>
    </message>
    <message>
        <source>X振れ幅</source>
        <translation>X variance</translation>
    </message>
    <message>
        <source>X振れ幅 : %4d.%1dピクセル</source>
        <translation>X variance : %4d.%1d px</translation>
    </message>
    <message>
        <source>Y振れ幅</source>
        <translation>Y variance</translation>
    </message>
    <message>
        <source>Y振れ幅 : %4d.%1dピクセル</source>
        <translation>Y variance : %4d.%1d px</translation>
    </message>
    <message>
        <source>速度</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>速度 : %3d.%1d</source>
        <translation>Speed : %3d.%1d</translation>
    </message>
    <message>
        <source>速度振れ幅</source>
        <translation>Speed variance</translation>
    </message>
    <message>
        <source>速度振れ幅 : %3d.%1d</source>
        <translation>Speed var. : %3d.%1d</translation>
    </message>
    <message>
        <source>横方向重力</source>
        <translation>Gravity X</translation>
    </message>
    <message>
        <source>横方向重力 : %4d.%1d</source>
        <translation>Gravity X : %4d.%1d</translation>
    </message>
    <message>
        <source>縦方向重力</source>
        <translation>Gravity Y</translation>
    </message>
    <message>
        <source>縦方向重力 : %4d.%1d</source>
        <translation>Gravity Y : %4d.%1d</translation>
    </message>
    <message>
        <source>接線加速度</source>
        <translation>Tangential acceleration</translation>
    </message>
    <message>
        <source>接線加速度 : %4d.%1d</source>
        <translation>Tangential acc. : %4d.%1d</translation>
    </message>
    <message>
        <source>接線加速度振れ幅</source>
        <translation>Tangential acceleration variance</translation>
    </message>
    <message>
        <source>接線加速度振れ幅 : %3d.%1d</source>
        <translation>Tangential acc. var. : %3d.%1d</translation>
    </message>
    <message>
        <source>加速度</source>
        <translation>Radial acceleration</translation>
    </message>
    <message>
        <source>加速度 : %4d.%1d</source>
        <translation>Radial acc. : %4d.%1d</translation>
    </message>
    <message>
        <source>加速度振れ幅</source>
        <translation>Radial acceleration variance</translation>
    </message>
    <message>
        <source>加速度振れ幅 : %3d.%1d</source>
        <translation>Radial acc. var. : %3d.%1d</translation>
    </message>
    <message>
        <source>最大半径</source>
        <translation>Max radius</translation>
    </message>
    <message>
        <source>最大半径 : %3d.%1d</source>
        <translation>Max radius : %3d.%1d</translation>
    </message>
    <message>
        <source>最大半径振れ幅</source>
        <translation>Max radius variance</translation>
    </message>
    <message>
        <source>最大半径振れ幅 : %3d.%1d</source>
        <translation>Max radius var. : %3d.%1d</translation>
    </message>
    <message>
        <source>最小半径</source>
        <translation>Min radius</translation>
    </message>
    <message>
        <source>最小半径 : %3d.%1d</source>
        <translation>Min radius : %3d.%1d</translation>
    </message>
    <message>
        <source>角速度</source>
        <translation>Angular speed</translation>
    </message>
    <message>
        <source>角速度 : %4d.%1d</source>
        <translation>Angular speed : %4d.%1d</translation>
    </message>
    <message>
        <source>角速度振れ幅</source>
        <translation>Angular speed variance</translation>
    </message>
    <message>
        <source>角速度振れ幅 : %3d.%1d</source>
        <translation>Angular speed var. : %3d.%1d</translation>
    </message>
    <message>
        <source>水平振幅</source>
        <translation>Horizontal amplitude</translation>
    </message>
    <message>
        <source>水平振幅 : %3d.%01dピクセル</source>
        <translation>H. amplitude : %3d.%01d px</translation>
    </message>
    <message>
        <source>水平振幅振れ幅</source>
        <translation>Horizontal amplitude variance</translation>
    </message>
    <message>
        <source>水平振幅振れ幅 : %3d.%01dピクセル</source>
        <translation>H. amplitude var. : %3d.%01d px</translation>
    </message>
    <message>
        <source>水平周期</source>
        <translation>Horizontal cycle</translation>
    </message>
    <message>
        <source>水平周期 : %3d.%02d秒</source>
        <translation>H. cycle : %3d.%02d s</translation>
    </message>
    <message>
        <source>水平周期振れ幅</source>
        <translation>Horizontal cycle variance</translation>
    </message>
    <message>
        <source>水平周期振れ幅 : %3d.%02d秒</source>
        <translation>H. cycle var. : %3d.%02d s</translation>
    </message>
    <message>
        <source>垂直振幅</source>
        <translation>Vertical amplitude</translation>
    </message>
    <message>
        <source>垂直振幅 : %3d.%01dピクセル</source>
        <translation>V. amplitude : %3d.%01d px</translation>
    </message>
    <message>
        <source>垂直振幅振れ幅</source>
        <translation>Vertical amplitude variance</translation>
    </message>
    <message>
        <source>垂直振幅振れ幅 : %3d.%01dピクセル</source>
        <translation>V. amplitude var. : %3d.%01d px</translation>
    </message>
    <message>
        <source>垂直周期</source>
        <translation>Vertical cycle</translation>
    </message>
    <message>
        <source>垂直周期 : %3d.%02d秒</source>
        <translation>V. cycle : %3d.%02d s</translation>
    </message>
    <message>
        <source>垂直周期振れ幅</source>
        <translation>Vertical cycle variance</translation>
    </message>
    <message>
        <source>垂直周期振れ幅 : %3d.%02d秒</source>
        <translation>V. cycle var. : %3d.%02d s</translation>
    </message>
    <message>
        <source>ディレイ</source>
        <translation>Delay</translation>
    </message>
    <message>
        <source>ディレイ : %3d.%02d秒</source>
        <translation>Delay : %3d.%02d s</translation>
    </message>
    <message>
        <source>オフセットX</source>
        <translation>Offset X</translation>
    </message>
    <message>
        <source>オフセットX : %5dピクセル</source>
        <translation>Offset X : %5d px</translation>
    </message>
    <message>
        <source>オフセットY</source>
        <translation>Offset Y</translation>
    </message>
    <message>
        <source>オフセットY : %5dピクセル</source>
        <translation>Offset Y : %5d px</translation>
    </message>
    <message>
        <source>期間</source>
        <translation>Duration</translation>
    </message>
    <message>
        <source>期間 : %3d.%02d秒</source>
        <translation>Duration : %3d.%02d s</translation>
    </message>
    <message>
        <source>開始色R</source>
        <translation>Start colour R</translation>
    </message>
    <message>
        <source>開始色G</source>
        <translation>Start colour G</translation>
    </message>
    <message>
        <source>開始色B</source>
        <translation>Start colour B</translation>
    </message>
    <message>
        <source>開始色A</source>
        <translation>Start colour A</translation>
    </message>
    <message>
        <source>終了色R</source>
        <translation>Finish colour R</translation>
    </message>
    <message>
        <source>終了色G</source>
        <translation>Finish colour G</translation>
    </message>
    <message>
        <source>終了色B</source>
        <translation>Finish colour B</translation>
    </message>
    <message>
        <source>終了色A</source>
        <translation>Finish colour A</translation>
    </message>
    <message>
        <source>開始色R振れ幅</source>
        <translation>Start colour R variance</translation>
    </message>
    <message>
        <source>開始色G振れ幅</source>
        <translation>Start colour G variance</translation>
    </message>
    <message>
        <source>開始色B振れ幅</source>
        <translation>Start colour B variance</translation>
    </message>
    <message>
        <source>開始色A振れ幅</source>
        <translation>Start colour A variance</translation>
    </message>
    <message>
        <source>終了色R振れ幅</source>
        <translation>Finish colour R variance</translation>
    </message>
    <message>
        <source>終了色G振れ幅</source>
        <translation>Finish colour G variance</translation>
    </message>
    <message>
        <source>終了色B振れ幅</source>
        <translation>Finish colour B variance</translation>
    </message>
    <message>
        <source>終了色A振れ幅</source>
        <translation>Finish colour A variance</translation>
    </message>
    <message>
        <source>背景色R</source>
        <translation>Background R</translation>
    </message>
    <message>
        <source>背景色G</source>
        <translation>Background G</translation>
    </message>
    <message>
        <source>背景色B</source>
        <translation>Background B</translation>
    </message>
    <message>
        <source>背景色A</source>
        <translation>Background A</translation>
    </message>
    <message>
        <source>インポート</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>シード</source>
        <translation>Seed</translation>
    </message>
</context>
<context>
    <name>orv::AboutBox</name>
    <message>
        <source>About</source>
        <translation>About</translation>
    </message>
    <message>
        <source>2D パーティクルエフェクトエディタ</source>
        <translation>2D particle effect editor</translation>
    </message>
</context>
<context>
    <name>orv::CExportDlg</name>
    <message>
        <source>すべてのエミッター (1つずつ別のファイル)</source>
        <translation>All emitters (one file each)</translation>
    </message>
    <message>
        <source>テクスチャを埋め込む</source>
        <translation>Embed the texture</translation>
    </message>
    <message>
        <source>エクスポート</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>Particle Designer形式 (.plist / .pex) で書き出します。</source>
        <translation>Writes Particle Designer files (.plist / .pex).</translation>
    </message>
</context>
<context>
    <name>orv::CNumberInputDlg</name>
    <message>
        <source>数値入力</source>
        <translation>Number</translation>
    </message>
    <message>
        <source>入力範囲 : %1 ～ %2</source>
        <translation>Range : %1 to %2</translation>
    </message>
    <message>
        <source>入力値が範囲外か不正です。</source>
        <translation>The value is out of range or not a number.</translation>
    </message>
</context>
<context>
    <name>orv::COptionDlg</name>
    <message>
        <source>設定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>不透明 software</source>
        <translation>Opaque software</translation>
    </message>
    <message>
        <source>透明 software</source>
        <translation>Transparent software</translation>
    </message>
    <message>
        <source>ニアレストネイバー</source>
        <translation>Nearest neighbour</translation>
    </message>
    <message>
        <source>バイリニア</source>
        <translation>Bilinear</translation>
    </message>
    <message>
        <source>自動</source>
        <translation>Automatic</translation>
    </message>
    <message>
        <source>言語の変更は次回の起動から有効になります。</source>
        <translation>A change of language takes effect at the next start.</translation>
    </message>
    <message>
        <source>横</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>縦</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>スクリーンサイズ</source>
        <translation>Screen size</translation>
    </message>
    <message>
        <source>更新頻度</source>
        <translation>Frame rate</translation>
    </message>
    <message>
        <source>描画方法</source>
        <translation>Drawing mode</translation>
    </message>
    <message>
        <source>補間</source>
        <translation>Sampling</translation>
    </message>
    <message>
        <source>描画スレッド数</source>
        <translation>Drawing threads</translation>
    </message>
</context>
<context>
    <name>orv::CParamDlgView</name>
    <message>
        <source>ORVファイル (*.orv);;パーティクルファイル (*.plist *.pex *.p);;すべてのファイル (*.*)</source>
        <translation>ORV files (*.orv);;Particle files (*.plist *.pex *.p);;All files (*.*)</translation>
    </message>
    <message>
        <source>PNGファイル (*.png);;すべてのファイル (*.*)</source>
        <translation>PNG files (*.png);;All files (*.*)</translation>
    </message>
    <message>
        <source>エクスポート</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>エミッター名入力</source>
        <translation>Emitter name</translation>
    </message>
</context>
<context>
    <name>orv::CPreviewTransportBar</name>
    <message>
        <source>一時停止 (Space)</source>
        <translation>Pause (Space)</translation>
    </message>
    <message>
        <source>1コマ進める (→)</source>
        <translation>Step one frame (→)</translation>
    </message>
    <message>
        <source>最初から (Home)</source>
        <translation>Restart (Home)</translation>
    </message>
    <message>
        <source>¼ ×</source>
        <translation>¼ ×</translation>
    </message>
    <message>
        <source>½ ×</source>
        <translation>½ ×</translation>
    </message>
    <message>
        <source>1 ×</source>
        <translation>1 ×</translation>
    </message>
    <message>
        <source>2 ×</source>
        <translation>2 ×</translation>
    </message>
    <message>
        <source>4 ×</source>
        <translation>4 ×</translation>
    </message>
    <message>
        <source>再生速度</source>
        <translation>Playback speed</translation>
    </message>
    <message>
        <source>シード固定</source>
        <translation>Fixed seed</translation>
    </message>
    <message>
        <source>最初から始めるたびに同じ乱数で、毎回同じ粒子を出す</source>
        <translation>Every restart uses the same random numbers, so the same particles come out every time</translation>
    </message>
    <message>
        <source>シード (0 ～ 18446744073709551615)</source>
        <translation>Seed (0 to 18446744073709551615)</translation>
    </message>
    <message>
        <source>シーク</source>
        <translation>Seek</translation>
    </message>
    <message>
        <source>最初から始めてからの時間。入力するとその時間へ移動して一時停止</source>
        <translation>Time since the last restart. Type a time to go there and pause</translation>
    </message>
    <message>
        <source>シークの長さ</source>
        <translation>Length of the seek slider</translation>
    </message>
    <message>
        <source>長さ</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>再生 (Space)</source>
        <translation>Play (Space)</translation>
    </message>
</context>
<context>
    <name>orv::CProgressDlg</name>
    <message>
        <source>進行状況</source>
        <translation>Progress</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>%1 / %2 フレーム&#x3000;残り %3</source>
        <translation>%1 / %2 frames   %3 left</translation>
    </message>
</context>
<context>
    <name>orv::CRenderDlg</name>
    <message>
        <source>レンダリング</source>
        <translation>Render</translation>
    </message>
    <message>
        <source>参照...</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>標準</source>
        <translation>Default</translation>
    </message>
    <message>
        <source>高速</source>
        <translation>Fast</translation>
    </message>
    <message>
        <source>高圧縮</source>
        <translation>Small</translation>
    </message>
    <message>
        <source>自動</source>
        <translation>Automatic</translation>
    </message>
    <message>
        <source>出力先フォルダとベースファイル名</source>
        <translation>Output folder and base file name</translation>
    </message>
    <message>
        <source>出力時間(秒)</source>
        <translation>Length (seconds)</translation>
    </message>
    <message>
        <source>圧縮</source>
        <translation>Compression</translation>
    </message>
    <message>
        <source>スレッド数</source>
        <translation>Threads</translation>
    </message>
    <message>
        <source>形式</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>PNG連番</source>
        <translation>PNG sequence</translation>
    </message>
    <message>
        <source>スプライトシート (PNG + JSON)</source>
        <translation>Sprite sheet (PNG + JSON)</translation>
    </message>
    <message>
        <source>アニメーションPNG</source>
        <translation>Animated PNG</translation>
    </message>
    <message>
        <source>アニメーションWebP</source>
        <translation>Animated WebP</translation>
    </message>
    <message>
        <source>アニメーションGIF</source>
        <translation>Animated GIF</translation>
    </message>
    <message>
        <source>PNGファイル (*.png)</source>
        <translation>PNG files (*.png)</translation>
    </message>
    <message>
        <source>すべてのファイル (*.*)</source>
        <translation>All files (*.*)</translation>
    </message>
    <message>
        <source>シード固定</source>
        <translation>Fixed seed</translation>
    </message>
    <message>
        <source>最初のフレームの前に進めておく秒数。空欄なら 0 秒、ループでは最長の生存期間とディレイ</source>
        <translation>Seconds simulated before the first frame. Empty: none, or for a loop the longest lifespan and delay</translation>
    </message>
    <message>
        <source>ループ</source>
        <translation>Loop</translation>
    </message>
    <message>
        <source>最後のフレームが最初のフレームへ継ぎ目なくつながる連番にします</source>
        <translation>Makes a sequence whose last frame leads into the first without a seam</translation>
    </message>
    <message>
        <source>開始時間(秒)</source>
        <translation>Start (seconds)</translation>
    </message>
    <message>
        <source>シードは 0 から 18446744073709551615 までの整数で入力してください。</source>
        <translation>Enter the seed as a whole number from 0 to 18446744073709551615.</translation>
    </message>
    <message>
        <source>開始時間は 0 以上の秒数 (2 や 1.5 など) で入力してください。</source>
        <translation>Enter the start as seconds of 0 or more (such as 2 or 1.5).</translation>
    </message>
</context>
<context>
    <name>orv::CTextInputDlg</name>
    <message>
        <source>文字入力</source>
        <translation>Text</translation>
    </message>
</context>
<context>
    <name>orv::CTextureDlg</name>
    <message>
        <source>テクスチャ</source>
        <translation>Texture</translation>
    </message>
    <message>
        <source>参照...</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>アニメーション</source>
        <translation>Animation</translation>
    </message>
    <message>
        <source>ランダム</source>
        <translation>Random</translation>
    </message>
    <message>
        <source>画像ファイル</source>
        <translation>Image file</translation>
    </message>
    <message>
        <source>横分割数</source>
        <translation>Columns</translation>
    </message>
    <message>
        <source>縦分割数</source>
        <translation>Rows</translation>
    </message>
    <message>
        <source>アニメーション時間 ( msec )</source>
        <translation>Frame durations ( msec )</translation>
    </message>
    <message>
        <source>PNGファイル (*.png)</source>
        <translation>PNG files (*.png)</translation>
    </message>
    <message>
        <source>すべてのファイル (*.*)</source>
        <translation>All files (*.*)</translation>
    </message>
</context>
<context>
    <name>orv::DialogButtons</name>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>orv::DialogPrompts</name>
    <message>
        <source>変更を保存しますか？</source>
        <translation>Save the changes?</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>保存しない</source>
        <translation>Don&apos;t save</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>orv::Menu</name>
    <message>
        <source>選択領域内から粒子が発生するように設定</source>
        <translation>Emit particles from the selected area</translation>
    </message>
    <message>
        <source>選択幅を初期サイズへ設定</source>
        <translation>Set the start size to the selection&apos;s width</translation>
    </message>
    <message>
        <source>選択幅を終了サイズへ設定</source>
        <translation>Set the finish size to the selection&apos;s width</translation>
    </message>
    <message>
        <source>選択幅を水平振幅、選択高さを垂直振幅へ設定</source>
        <translation>Set the amplitudes to the selection&apos;s width and height</translation>
    </message>
    <message>
        <source>選択幅を水平振幅へ設定</source>
        <translation>Set the horizontal amplitude to the selection&apos;s width</translation>
    </message>
    <message>
        <source>選択高さを垂直振幅へ設定</source>
        <translation>Set the vertical amplitude to the selection&apos;s height</translation>
    </message>
    <message>
        <source>元に戻す</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>やり直し</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>新規作成(&amp;N)</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>ファイルを開く(&amp;O)</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>追加読込み</source>
        <translation>Merge load...</translation>
    </message>
    <message>
        <source>上書き保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>名前をつけて保存</source>
        <translation>Save as...</translation>
    </message>
    <message>
        <source>エクスポート</source>
        <translation>Export...</translation>
    </message>
    <message>
        <source>レンダリング(&amp;R)</source>
        <translation>&amp;Render...</translation>
    </message>
    <message>
        <source>背景画像を指定(&amp;B)</source>
        <translation>Set &amp;background image...</translation>
    </message>
    <message>
        <source>背景画像を開放</source>
        <translation>Remove background image</translation>
    </message>
    <message>
        <source>設定(&amp;P)</source>
        <translation>Se&amp;ttings...</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>orvについて(&amp;A)</source>
        <translation>&amp;About orv</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>新しいエミッターの追加(&amp;A)</source>
        <translation>&amp;Add a new emitter</translation>
    </message>
    <message>
        <source>名前の変更(&amp;N)</source>
        <translation>Re&amp;name</translation>
    </message>
    <message>
        <source>選択エミッターの削除(&amp;D)</source>
        <translation>&amp;Delete the selected emitter</translation>
    </message>
    <message>
        <source>上へ(&amp;U)</source>
        <translation>Move &amp;up</translation>
    </message>
    <message>
        <source>下へ(&amp;D)</source>
        <translation>Move &amp;down</translation>
    </message>
</context>
<context>
    <name>orv::ParamPanel</name>
    <message>
        <source>パーティクル設定</source>
        <translation>Particles</translation>
    </message>
    <message>
        <source>ソート</source>
        <translation>Sort</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>None</translation>
    </message>
    <message>
        <source>生存時間 長手前</source>
        <translation>Longest life in front</translation>
    </message>
    <message>
        <source>生存時間 短手前</source>
        <translation>Shortest life in front</translation>
    </message>
    <message>
        <source>スケール 大手前</source>
        <translation>Largest in front</translation>
    </message>
    <message>
        <source>スケール 小手前</source>
        <translation>Smallest in front</translation>
    </message>
    <message>
        <source>進行方向に向きを合わせる</source>
        <translation>Turn sprites along their motion</translation>
    </message>
    <message>
        <source>カラー</source>
        <translation>Colour</translation>
    </message>
    <message>
        <source>初期カラー</source>
        <translation>Start colour</translation>
    </message>
    <message>
        <source>初期カラー振れ幅</source>
        <translation>Start variance</translation>
    </message>
    <message>
        <source>最終カラー</source>
        <translation>Finish colour</translation>
    </message>
    <message>
        <source>最終カラー振れ幅</source>
        <translation>Finish variance</translation>
    </message>
    <message>
        <source>色を反映</source>
        <translation>Tint with colour</translation>
    </message>
    <message>
        <source>色変化なし</source>
        <translation>Constant colour</translation>
    </message>
    <message>
        <source>ブレンド方法</source>
        <translation>Blending</translation>
    </message>
    <message>
        <source>加算合成</source>
        <translation>Additive</translation>
    </message>
    <message>
        <source>通常合成</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>エミッター種別</source>
        <translation>Emitter type</translation>
    </message>
    <message>
        <source>メニュー</source>
        <translation>Menu</translation>
    </message>
    <message>
        <source>テクスチャ</source>
        <translation>Texture</translation>
    </message>
    <message>
        <source>リセット</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>グループ</source>
        <translation>Timing</translation>
    </message>
    <message>
        <source>背景色</source>
        <translation>Background</translation>
    </message>
</context>
<context>
    <name>orv::RenderCommand</name>
    <message>
        <source>レンダリングを開始できませんでした。</source>
        <translation>The render could not be started.</translation>
    </message>
    <message>
        <source>レンダリングを中止しました。書き出せたフレームは %1 枚です。
</source>
        <translation>The render was stopped. %1 frames were written.
</translation>
    </message>
</context>
</TS>
