<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>desk</name>
    <message>
        <source>画像が大きすぎるよ～。</source>
        <translation>The picture is too large!</translation>
    </message>
    <message>
        <source>zelto %d×%d %dﾋﾟｰｽ(%d×%d) %dﾋﾟｰｽ</source>
        <translation>zelto %d×%d %d pieces (%d×%d) %d cut</translation>
    </message>
    <message>
        <source>zelto %d×%d %dﾋﾟｰｽ(%d×%d) 残り%dﾋﾟｰｽ  %d時%d分%ld秒</source>
        <translation>zelto %d×%d %d pieces (%d×%d) %d left %d:%02d:%02ld</translation>
    </message>
</context>
<context>
    <name>graphics</name>
    <message>
        <source>内部エラーが発生しました。
%s line=%d %s errno=%ld
強制終了します。
このメッセージは%sに書いています。</source>
        <translation>An internal error occurred.
%s line=%d %s errno=%ld
The program ends now.
This message is written in %s.</translation>
    </message>
</context>
<context>
    <name>menu</name>
    <message>
        <source>BMP出力</source>
        <translation>Export BMP</translation>
    </message>
    <message>
        <source>ウィンドウ...</source>
        <translation>Window...</translation>
    </message>
    <message>
        <source>デスク全体...</source>
        <translation>Whole desk...</translation>
    </message>
    <message>
        <source>選択したピース...</source>
        <translation>Selected piece...</translation>
    </message>
    <message>
        <source>全ピース</source>
        <translation>All pieces</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>開く...	Ctrl+O</source>
        <translation>Open...	Ctrl+O</translation>
    </message>
    <message>
        <source>一覧から選ぶ...</source>
        <translation>Choose from the list...</translation>
    </message>
    <message>
        <source>始めからやり直し</source>
        <translation>Start again</translation>
    </message>
    <message>
        <source>ゲームを再開...</source>
        <translation>Resume a game...</translation>
    </message>
    <message>
        <source>ゲームを保存...</source>
        <translation>Save the game...</translation>
    </message>
    <message>
        <source>クリップボードから開く</source>
        <translation>Open from the clipboard</translation>
    </message>
    <message>
        <source>バージョン情報</source>
        <translation>Build date</translation>
    </message>
    <message>
        <source>終了	Ctrl+X</source>
        <translation>Quit	Ctrl+X</translation>
    </message>
    <message>
        <source>ﾋﾟｰｽ</source>
        <translation>Pieces</translation>
    </message>
    <message>
        <source>伸縮しない</source>
        <translation>Unchanged</translation>
    </message>
    <message>
        <source>画像伸縮</source>
        <translation>Picture size</translation>
    </message>
    <message>
        <source>完成画像</source>
        <translation>Finished picture</translation>
    </message>
    <message>
        <source>表示する</source>
        <translation>Show</translation>
    </message>
    <message>
        <source>画像＋線</source>
        <translation>Picture and seams</translation>
    </message>
    <message>
        <source>表示しない</source>
        <translation>Don&apos;t show</translation>
    </message>
    <message>
        <source>背景</source>
        <translation>Background</translation>
    </message>
    <message>
        <source>単一色</source>
        <translation>Single colour</translation>
    </message>
    <message>
        <source>画像（並べる）</source>
        <translation>Picture (tiled)</translation>
    </message>
    <message>
        <source>画像（中央配置）</source>
        <translation>Picture (centred)</translation>
    </message>
    <message>
        <source>クリップボードの画像</source>
        <translation>Picture from the clipboard</translation>
    </message>
    <message>
        <source>ガイド表示</source>
        <translation>Guide</translation>
    </message>
    <message>
        <source>完成画像を表示</source>
        <translation>Show the finished picture</translation>
    </message>
    <message>
        <source>位置表示</source>
        <translation>Show the position</translation>
    </message>
    <message>
        <source>SHIFT-KEYで位置表示</source>
        <translation>Show the position with SHIFT</translation>
    </message>
    <message>
        <source>設定(&amp;O)</source>
        <translation>&amp;Options</translation>
    </message>
    <message>
        <source>回転</source>
        <translation>Rotation</translation>
    </message>
    <message>
        <source>自由回転</source>
        <translation>Free rotation</translation>
    </message>
    <message>
        <source>回転なし</source>
        <translation>No rotation</translation>
    </message>
    <message>
        <source>90度ずつ回転</source>
        <translation>Quarter turns</translation>
    </message>
    <message>
        <source>裏返し</source>
        <translation>Turning over</translation>
    </message>
    <message>
        <source>あり</source>
        <translation>On</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>ピース形状</source>
        <translation>Piece shape</translation>
    </message>
    <message>
        <source>ピース境界線</source>
        <translation>Seams</translation>
    </message>
    <message>
        <source>残す</source>
        <translation>Keep</translation>
    </message>
    <message>
        <source>残さない</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>効果音</source>
        <translation>Sound effects</translation>
    </message>
    <message>
        <source>鳴らす</source>
        <translation>On</translation>
    </message>
    <message>
        <source>鳴らさない</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>表示倍率</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>拡大	Ctrl++</source>
        <translation>Zoom in	Ctrl++</translation>
    </message>
    <message>
        <source>縮小	Ctrl+-</source>
        <translation>Zoom out	Ctrl+-</translation>
    </message>
    <message>
        <source>100%	Ctrl+0</source>
        <translation>100%	Ctrl+0</translation>
    </message>
    <message>
        <source>机全体</source>
        <translation>Whole desk</translation>
    </message>
</context>
<context>
    <name>play</name>
    <message>
        <source>選択</source>
        <translation>Choose</translation>
    </message>
    <message>
        <source>背景選択</source>
        <translation>Choose a background</translation>
    </message>
    <message>
        <source>zelto 通知</source>
        <translation>zelto notice</translation>
    </message>
    <message>
        <source>扱えない形式の画像です。</source>
        <translation>This picture is in a format the game cannot use.</translation>
    </message>
    <message>
        <source>ゲーム中のデータを保存しますか？
（保存先 : %s）</source>
        <translation>Save the game in progress?
(Saved to: %s)</translation>
    </message>
    <message>
        <source>保存確認</source>
        <translation>Save?</translation>
    </message>
    <message>
        <source>ゲーム中のデータを保存できませんでした。
（保存先 : %s）</source>
        <translation>The game in progress could not be saved.
(Saved to: %s)</translation>
    </message>
    <message>
        <source>zeltoデータが壊れているため再開できません。
%s</source>
        <translation>This zelto game is damaged and cannot be resumed.
%s</translation>
    </message>
    <message>
        <source>%sが見つかりません。</source>
        <translation>Cannot find %s.</translation>
    </message>
</context>
<context>
    <name>puzzle</name>
    <message>
        <source>画像が読み込めません。
(細長すぎてピースに切り分けられない)</source>
        <translation>Cannot read the picture.
(Too long and thin to be cut into pieces)</translation>
    </message>
</context>
<context>
    <name>shell</name>
    <message>
        <source>このプログラムは
%s
にコンパイルされました。</source>
        <translation>This program was compiled on
%s</translation>
    </message>
    <message>
        <source>始めからやり直しますか？</source>
        <translation>Start again from the beginning?</translation>
    </message>
    <message>
        <source>ゲーム中は出来ません。
このゲームを終了してよろしいですか？</source>
        <translation>This cannot be done during a game.
End this game?</translation>
    </message>
    <message>
        <source>確認</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>次回より有効となります。</source>
        <translation>This takes effect from the next game.</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>ファイルを開けませんでした</source>
        <translation>The file could not be opened</translation>
    </message>
    <message>
        <source>どれかピースを選択してください。</source>
        <translation>Pick up a piece first.</translation>
    </message>
    <message>
        <source>ファイルを書き込めませんでした。
%s</source>
        <translation>The file could not be written.
%s</translation>
    </message>
    <message>
        <source>選択</source>
        <translation>Choose</translation>
    </message>
    <message>
        <source>ビットマップ(*.bmp)</source>
        <translation>Bitmap (*.bmp)</translation>
    </message>
    <message>
        <source>ｊｐｅｇ(*.jpg)</source>
        <translation>JPEG (*.jpg)</translation>
    </message>
    <message>
        <source>zeltoデータ(*.zlt)</source>
        <translation>zelto game (*.zlt)</translation>
    </message>
    <message>
        <source>トレイを追加</source>
        <translation>Add a tray</translation>
    </message>
    <message>
        <source>通知</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>クリップボードにコピーされていません。</source>
        <translation>Nothing has been copied to the clipboard.</translation>
    </message>
    <message>
        <source>クリップボードに画像がコピーされていません。</source>
        <translation>No picture has been copied to the clipboard.</translation>
    </message>
    <message>
        <source>クリップボードにコピーされていません。（bmpまたはjpgファイルでない）</source>
        <translation>Nothing has been copied to the clipboard. (Not a bmp or jpg file)</translation>
    </message>
    <message>
        <source>貼り付けた画像を保存できませんでした。
（保存先 : %s）</source>
        <translation>The pasted picture could not be saved.
(Saved to: %s)</translation>
    </message>
    <message>
        <source>前回のゲームは正しく終了しませんでした。続きから再開しますか？</source>
        <translation>The last game did not end properly. Resume it where it stopped?</translation>
    </message>
    <message>
        <source>%sが見つかりません。</source>
        <translation>Cannot find %s.</translation>
    </message>
    <message>
        <source>%sのピース数はメニューで選択可能な値を指定してください。</source>
        <translation>%s: give piece counts that the menu offers.</translation>
    </message>
    <message>
        <source>%sの拡大縮小サイズはメニューで選択可能な値を指定してください。</source>
        <translation>%s: give picture sizes that the menu offers.</translation>
    </message>
    <message>
        <source>設定ファイル ZELTORC.TXT を書き込めませんでした。前回の設定はそのまま残っています。</source>
        <translation>The settings file ZELTORC.TXT could not be written. The previous settings are kept as they were.</translation>
    </message>
    <message>
        <source>画像ファイル</source>
        <translation>Pictures</translation>
    </message>
</context>
<context>
    <name>windows</name>
    <message>
        <source>全体</source>
        <translation>Overview</translation>
    </message>
    <message>
        <source>ピース形状</source>
        <translation>Piece shape</translation>
    </message>
    <message>
        <source>  ライン１</source>
        <translation>  Line 1</translation>
    </message>
    <message>
        <source>  ライン２</source>
        <translation>  Line 2</translation>
    </message>
    <message>
        <source>  ライン３</source>
        <translation>  Line 3</translation>
    </message>
    <message>
        <source>  ライン４</source>
        <translation>  Line 4</translation>
    </message>
    <message>
        <source>  キャンセル</source>
        <translation>  Cancel</translation>
    </message>
    <message>
        <source>ピースを出してから閉じてください。</source>
        <translation>Take the pieces out before closing the tray.</translation>
    </message>
    <message>
        <source>zelto 通知</source>
        <translation>zelto notice</translation>
    </message>
    <message>
        <source>zeltorc.txtのddraw行をTRUEにしてください。</source>
        <translation>Set the ddraw line of zeltorc.txt to TRUE.</translation>
    </message>
    <message>
        <source>ゲーム開始前はトレイを追加できません。</source>
        <translation>A tray cannot be added before a game has started.</translation>
    </message>
    <message>
        <source>これ以上のトレイは追加できません。</source>
        <translation>No more trays can be added.</translation>
    </message>
    <message>
        <source>トレイ&lt;%d&gt;</source>
        <translation>Tray &lt;%d&gt;</translation>
    </message>
    <message>
        <source>%s  %d ﾋﾟｰｽ</source>
        <translation>%s  %d pieces</translation>
    </message>
    <message>
        <source>1000個以上のファイルは無視します。</source>
        <translation>Files beyond the first 1000 are left out.</translation>
    </message>
    <message>
        <source>%sを削除しますか？</source>
        <translation>Delete %s?</translation>
    </message>
    <message>
        <source>%sをごみ箱に移せません。
完全に削除しますか？</source>
        <translation>%s cannot be moved to the trash.
Delete it for good?</translation>
    </message>
    <message>
        <source>%sを削除できませんでした。</source>
        <translation>%s could not be deleted.</translation>
    </message>
    <message>
        <source>確認</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>読込中</source>
        <translation>Wait..</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>ws</name>
    <message>
        <source>画像が読み込めません。</source>
        <translation>Cannot read the picture.</translation>
    </message>
    <message>
        <source>画像が読み込めません。
(拡張子が.BMP .JPG .JPEGでない)</source>
        <translation>Cannot read the picture.
(The extension is not .BMP, .JPG or .JPEG)</translation>
    </message>
    <message>
        <source>画像が読み込めません。(jpeg open error)</source>
        <translation>Cannot read the picture. (jpeg open error)</translation>
    </message>
    <message>
        <source>はい</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>いいえ</source>
        <translation>No</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
</TS>
