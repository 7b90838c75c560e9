<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja_JP">
<context>
    <name>Pictorell</name>
    <message>
        <source>ファイルをDrag/Dropできます</source>
        <translation>You can drag and drop a file here</translation>
    </message>
    <message>
        <source>参照...(&amp;O)</source>
        <translation>Br&amp;owse...</translation>
    </message>
    <message>
        <source>アニメーションタイプ(&amp;A)&#x3000;→</source>
        <translation>&amp;Animation Type  →</translation>
    </message>
    <message>
        <source>Slide    交差</source>
        <translation>Slide    crossing</translation>
    </message>
    <message>
        <source>Turn    ２Ｄ回転</source>
        <translation>Turn     2D spin</translation>
    </message>
    <message>
        <source>Rotate  ３Ｄ回転</source>
        <translation>Rotate   3D turn</translation>
    </message>
    <message>
        <source>Zoom   拡大/縮小</source>
        <translation>Zoom     shrink/grow</translation>
    </message>
    <message>
        <source>Diffuse 拡散</source>
        <translation>Diffuse  dissolve</translation>
    </message>
    <message>
        <source>Elastic 伸縮</source>
        <translation>Elastic  stretch</translation>
    </message>
    <message>
        <source>Hue     色相変換</source>
        <translation>Hue      color shift</translation>
    </message>
    <message>
        <source>&amp;Slide Option</source>
        <translation>&amp;Slide Option</translation>
    </message>
    <message>
        <source>&amp;Turn Option</source>
        <translation>&amp;Turn Option</translation>
    </message>
    <message>
        <source>&amp;Rotate Option</source>
        <translation>&amp;Rotate Option</translation>
    </message>
    <message>
        <source>&amp;Zoom Option</source>
        <translation>&amp;Zoom Option</translation>
    </message>
    <message>
        <source>&amp;Diffuse Option</source>
        <translation>&amp;Diffuse Option</translation>
    </message>
    <message>
        <source>&amp;Elastic Option</source>
        <translation>&amp;Elastic Option</translation>
    </message>
    <message>
        <source>&amp;Hue</source>
        <translation>&amp;Hue</translation>
    </message>
    <message>
        <source>両端から交差</source>
        <translation>Cross from Both Ends</translation>
    </message>
    <message>
        <source>マスク</source>
        <translation>Mask</translation>
    </message>
    <message>
        <source>X軸</source>
        <translation>X Axis</translation>
    </message>
    <message>
        <source>Y軸</source>
        <translation>Y Axis</translation>
    </message>
    <message>
        <source>Sand</source>
        <translation>Sand</translation>
    </message>
    <message>
        <source>Light up</source>
        <translation>Light up</translation>
    </message>
    <message>
        <source>Light down</source>
        <translation>Light down</translation>
    </message>
    <message>
        <source>収束色相の選択</source>
        <translation>Choose the target hue</translation>
    </message>
    <message>
        <source>ローテーション</source>
        <translation>Rotation</translation>
    </message>
    <message>
        <source>収束</source>
        <translation>Converge</translation>
    </message>
    <message>
        <source>背景色</source>
        <translation>Background</translation>
    </message>
    <message>
        <source>参照...(&amp;B)</source>
        <translation>&amp;Browse...</translation>
    </message>
    <message>
        <source>プレビュー(&amp;V)</source>
        <translation>Pre&amp;view</translation>
    </message>
    <message>
        <source>中止(&amp;V)</source>
        <translation>Stop Pre&amp;view</translation>
    </message>
    <message>
        <source>コマ送り</source>
        <translation>Step one frame</translation>
    </message>
    <message>
        <source>コマ送り解除</source>
        <translation>Resume playback</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>フレーム・リストに貼り付け</source>
        <translation>Add the frame to the frame list</translation>
    </message>
    <message>
        <source>保存(&amp;A)</source>
        <translation>S&amp;ave</translation>
    </message>
    <message>
        <source>終了(&amp;Q)</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>元画像を開く(&amp;O)</source>
        <translation>&amp;Open Source Picture...</translation>
    </message>
    <message>
        <source>ベース名を付けて保存(&amp;A)</source>
        <translation>S&amp;ave Frames As...</translation>
    </message>
    <message>
        <source>編集(&amp;V)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>フレーム・リストに貼付け</source>
        <translation>&amp;Copy to Frame List</translation>
    </message>
    <message>
        <source>クリップボードから貼付け</source>
        <translation>&amp;Paste from Clipboard</translation>
    </message>
    <message>
        <source>表示(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>プレビュー中止(&amp;V)</source>
        <translation>Stop Pre&amp;view</translation>
    </message>
    <message>
        <source>設定(&amp;S)</source>
        <translation>&amp;Settings</translation>
    </message>
    <message>
        <source>Animation &amp;Mode</source>
        <translation>Animation &amp;Mode</translation>
    </message>
    <message>
        <source>&amp;1：Sllide</source>
        <translation>&amp;1: Slide</translation>
    </message>
    <message>
        <source>&amp;2：Turn</source>
        <translation>&amp;2: Turn</translation>
    </message>
    <message>
        <source>&amp;3：Rotate</source>
        <translation>&amp;3: Rotate</translation>
    </message>
    <message>
        <source>&amp;4：Zoom</source>
        <translation>&amp;4: Zoom</translation>
    </message>
    <message>
        <source>&amp;5：Diffuse</source>
        <translation>&amp;5: Diffuse</translation>
    </message>
    <message>
        <source>&amp;6：Elastic</source>
        <translation>&amp;6: Elastic</translation>
    </message>
    <message>
        <source>&amp;7:Hue</source>
        <translation>&amp;7: Hue</translation>
    </message>
    <message>
        <source>Slide &amp;Option</source>
        <translation>Slide &amp;Option</translation>
    </message>
    <message>
        <source>Turn &amp;Option</source>
        <translation>Turn &amp;Option</translation>
    </message>
    <message>
        <source>Rotate &amp;Option</source>
        <translation>Rotate &amp;Option</translation>
    </message>
    <message>
        <source>Zoom &amp;Option</source>
        <translation>Zoom &amp;Option</translation>
    </message>
    <message>
        <source>Diffuse &amp;Option</source>
        <translation>Diffuse &amp;Option</translation>
    </message>
    <message>
        <source>Elastic &amp;Option</source>
        <translation>Elastic &amp;Option</translation>
    </message>
    <message>
        <source>Hue &amp;Option</source>
        <translation>Hue &amp;Option</translation>
    </message>
    <message>
        <source>X軸を中心に回転</source>
        <translation>Rotate about the X Axis</translation>
    </message>
    <message>
        <source>Y軸を中心に回転</source>
        <translation>Rotate about the Y Axis</translation>
    </message>
    <message>
        <source>&amp;Sand</source>
        <translation>&amp;Sand</translation>
    </message>
    <message>
        <source>Light &amp;up</source>
        <translation>Light &amp;up</translation>
    </message>
    <message>
        <source>Light &amp;down</source>
        <translation>Light &amp;down</translation>
    </message>
    <message>
        <source>バナーの背景色...(&amp;C)</source>
        <translation>Banner Background &amp;Color...</translation>
    </message>
    <message>
        <source>画面の背景色変更...(&amp;B)</source>
        <translation>Window &amp;Background Color...</translation>
    </message>
    <message>
        <source>画面の背景色初期化(&amp;I)</source>
        <translation>Reset W&amp;indow Background Color</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>ヘルプファイルを開く</source>
        <translation>Open &amp;Help</translation>
    </message>
    <message>
        <source>ヘルプファイルが見つかりません。</source>
        <translation>The help file cannot be found.</translation>
    </message>
    <message>
        <source>ヘルプを表示できるアプリケーションがありません。(CHM ビューアーか Web ブラウザーが必要です)</source>
        <translation>No application can show the help. (It needs a CHM viewer or a web browser.)</translation>
    </message>
    <message>
        <source>クリップボードに画像がありません。</source>
        <translation>There is no picture on the clipboard.</translation>
    </message>
    <message>
        <source>(クリップボード)</source>
        <translation>(Clipboard)</translation>
    </message>
    <message>
        <source>保存先およびベース名の設定</source>
        <translation>Choose Folder and Base Name</translation>
    </message>
    <message>
        <source>ビットマップ(*.bmp)</source>
        <translation>Bitmap (*.bmp)</translation>
    </message>
    <message>
        <source>ＪＰＥＧ(*.jpg)</source>
        <translation>JPEG (*.jpg)</translation>
    </message>
    <message>
        <source>ＧＩＦ(*.gif)</source>
        <translation>GIF (*.gif)</translation>
    </message>
    <message>
        <source>GIF出力形式設定</source>
        <translation>GIF Output Settings</translation>
    </message>
    <message>
        <source>アニメーションGIFで１つのファイルに保存</source>
        <translation>Save as one animated GIF file</translation>
    </message>
    <message>
        <source>フレーム単位で複数のファイルに保存</source>
        <translation>Save one file per frame</translation>
    </message>
    <message>
        <source>フレームの表示間隔&#x3000;(秒）&#x3000;→&#x3000;</source>
        <translation>Frame interval (seconds)  →  </translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>フレーム表示間隔が不正です。</source>
        <translation>The frame interval is not valid.</translation>
    </message>
    <message>
        <source>ファイルを保存できませんでした。</source>
        <translation>The file could not be saved.</translation>
    </message>
    <message>
        <source> -フレーム・リスト-</source>
        <translation> -Frame List-</translation>
    </message>
    <message>
        <source>全フレーム削除(&amp;A)</source>
        <translation>Delete &amp;All Frames</translation>
    </message>
    <message>
        <source>チェックフレーム削除(&amp;D)</source>
        <translation>&amp;Delete Checked Frames</translation>
    </message>
    <message>
        <source>保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>ファイルが空です。(0 バイト)</source>
        <translation>The file is empty. (0 bytes)</translation>
    </message>
    <message>
        <source>BMP ファイルが途中で切れています。(ヘッダーが不完全です)</source>
        <translation>The BMP file is cut short. (Its header is incomplete.)</translation>
    </message>
    <message>
        <source>BMP ファイルのヘッダーが壊れています。(未知のヘッダー形式です)</source>
        <translation>The BMP file&apos;s header is damaged. (The header type is unknown.)</translation>
    </message>
    <message>
        <source>BMP ファイルのヘッダーが壊れています。(幅または高さが不正です)</source>
        <translation>The BMP file&apos;s header is damaged. (The width or height is invalid.)</translation>
    </message>
    <message>
        <source>GIF ファイルが途中で切れています。</source>
        <translation>The GIF file is cut short.</translation>
    </message>
    <message>
        <source>GIF ファイルに画像が含まれていません。</source>
        <translation>The GIF file holds no picture.</translation>
    </message>
    <message>
        <source>GIF ファイルの構造が壊れています。</source>
        <translation>The GIF file&apos;s structure is damaged.</translation>
    </message>
    <message>
        <source>GIF ファイルの画像の大きさが不正です。</source>
        <translation>The GIF file&apos;s picture size is invalid.</translation>
    </message>
    <message>
        <source>GIF ファイルの構造が不正です。(画像の前のブロックが多すぎます)</source>
        <translation>The GIF file&apos;s structure is invalid. (Too many blocks before the picture.)</translation>
    </message>
    <message>
        <source>JPEG ファイルが途中で切れています。(画像データがありません)</source>
        <translation>The JPEG file is cut short. (It holds no picture data.)</translation>
    </message>
    <message>
        <source>JPEG ファイルの構造が壊れています。</source>
        <translation>The JPEG file&apos;s structure is damaged.</translation>
    </message>
    <message>
        <source>JPEG ファイルの画像の大きさが不正です。</source>
        <translation>The JPEG file&apos;s picture size is invalid.</translation>
    </message>
    <message>
        <source>JPEG ファイルの構造が不正です。(マーカーが多すぎます)</source>
        <translation>The JPEG file&apos;s structure is invalid. (Too many markers.)</translation>
    </message>
    <message>
        <source>JPEG ファイルの構造が不正です。(スキャンが多すぎます)</source>
        <translation>The JPEG file&apos;s structure is invalid. (Too many scans.)</translation>
    </message>
    <message>
        <source>ファイルを開けませんでした。(読み取りの権限がないか、使用中です)</source>
        <translation>The file could not be opened. (There is no permission to read it, or it is in use.)</translation>
    </message>
    <message>
        <source>画像を読み込めませんでした。(ファイルが壊れているか、対応していない種類です)</source>
        <translation>The picture could not be read. (The file is damaged or of an unsupported kind.)</translation>
    </message>
    <message>
        <source>画像がありません。</source>
        <translation>There is no picture.</translation>
    </message>
    <message>
        <source>ファイルが見つかりません。</source>
        <translation>The file cannot be found.</translation>
    </message>
    <message>
        <source>画像が大きすぎます。(～1000x200pixels)</source>
        <translation>The picture is too large. (Up to 1000x200 pixels)</translation>
    </message>
    <message>
        <source>ＷｅｂＰ(*.webp)</source>
        <translation>WebP (*.webp)</translation>
    </message>
    <message>
        <source>対応画像ファイル(*.bmp;*.jpg;*.gif;*.png;*.webp)</source>
        <translation>Supported pictures (*.bmp;*.jpg;*.gif;*.png;*.webp)</translation>
    </message>
    <message>
        <source>ＰＮＧ(*.png)</source>
        <translation>PNG (*.png)</translation>
    </message>
    <message>
        <source>アニメーションGIFの再生</source>
        <translation>Animated GIF Playback</translation>
    </message>
    <message>
        <source>再生回数&#x3000;→&#x3000;</source>
        <translation>Play count  →  </translation>
    </message>
    <message>
        <source>無限に繰り返す</source>
        <translation>Loop forever</translation>
    </message>
    <message>
        <source>回数を指定</source>
        <translation>Stop after</translation>
    </message>
    <message numerus="yes">
        <source> 回</source>
        <translation>
            <numerusform> play</numerusform>
            <numerusform> plays</numerusform>
        </translation>
    </message>
    <message>
        <source>静止時間&#x3000;(秒）&#x3000;→&#x3000;</source>
        <translation>Hold (seconds)  →  </translation>
    </message>
    <message>
        <source>絵全体が見えるフレームから始め、そのフレームをこの秒数だけ長く表示します。</source>
        <translation>The animation starts on the frame that shows the whole picture and holds that frame this many seconds longer.</translation>
    </message>
    <message>
        <source>広告の規定&#x3000;→&#x3000;</source>
        <translation>Ad rules  →  </translation>
    </message>
    <message>
        <source>選ぶと、表示間隔と再生回数をその規定に収まるように設定します。</source>
        <translation>Choosing one sets the interval and the play count to keep within its rules.</translation>
    </message>
    <message>
        <source>WebP出力形式設定</source>
        <translation>WebP Output Settings</translation>
    </message>
    <message>
        <source>アニメーションWebPで１つのファイルに保存</source>
        <translation>Save as one animated WebP file</translation>
    </message>
    <message>
        <source>アニメーションWebPの再生</source>
        <translation>Animated WebP Playback</translation>
    </message>
    <message>
        <source>画像ファイルではないか、対応していない形式です。(対応形式: BMP・JPEG・GIF・PNG・WebP)</source>
        <translation>This is not a picture file, or its format is not supported. (Supported formats: BMP, JPEG, GIF, PNG, WebP)</translation>
    </message>
    <message>
        <source>PNG ファイルが途中で切れています。</source>
        <translation>The PNG file is cut short.</translation>
    </message>
    <message>
        <source>PNG ファイルのヘッダーが壊れています。(IHDR チャンクが不正です)</source>
        <translation>The PNG file&apos;s header is damaged. (Its IHDR chunk is invalid.)</translation>
    </message>
    <message>
        <source>PNG ファイルの画像の大きさが不正です。</source>
        <translation>The PNG file&apos;s picture size is invalid.</translation>
    </message>
    <message>
        <source>PNG ファイルの色の形式が不正です。</source>
        <translation>The PNG file&apos;s color format is invalid.</translation>
    </message>
    <message>
        <source>PNG ファイルが壊れています。(CRC が一致しません)</source>
        <translation>The PNG file is damaged. (A CRC does not match.)</translation>
    </message>
    <message>
        <source>PNG ファイルの構造が壊れています。</source>
        <translation>The PNG file&apos;s structure is damaged.</translation>
    </message>
    <message>
        <source>PNG ファイルに画像データがありません。</source>
        <translation>The PNG file holds no picture data.</translation>
    </message>
    <message>
        <source>PNG ファイルの構造が不正です。(チャンクが多すぎます)</source>
        <translation>The PNG file&apos;s structure is invalid. (Too many chunks.)</translation>
    </message>
    <message>
        <source>PNG ファイルの構造が不正です。(画像データが大きすぎます)</source>
        <translation>The PNG file&apos;s structure is invalid. (Too much picture data.)</translation>
    </message>
    <message>
        <source>WebP ファイルが途中で切れています。</source>
        <translation>The WebP file is cut short.</translation>
    </message>
    <message>
        <source>WebP ファイルのヘッダーが壊れています。</source>
        <translation>The WebP file&apos;s header is damaged.</translation>
    </message>
    <message>
        <source>WebP ファイルの画像の大きさが不正です。</source>
        <translation>The WebP file&apos;s picture size is invalid.</translation>
    </message>
    <message>
        <source>WebP ファイルの構造が壊れています。</source>
        <translation>The WebP file&apos;s structure is damaged.</translation>
    </message>
    <message>
        <source>WebP ファイルに画像が含まれていません。</source>
        <translation>The WebP file holds no picture.</translation>
    </message>
    <message>
        <source>WebP ファイルの構造が不正です。(画像の前のチャンクが多すぎます)</source>
        <translation>The WebP file&apos;s structure is invalid. (Too many chunks before the picture.)</translation>
    </message>
    <message>
        <source>WebP ファイルの構造が不正です。(画像データが大きすぎます)</source>
        <translation>The WebP file&apos;s structure is invalid. (Too much picture data.)</translation>
    </message>
    <message>
        <source>TIFF 形式の画像には対応していません。(対応形式: BMP・JPEG・GIF・PNG・WebP)</source>
        <translation>TIFF pictures are not supported. (Supported formats: BMP, JPEG, GIF, PNG, WebP)</translation>
    </message>
    <message>
        <source>OS/2 のビットマップ配列には対応していません。(対応形式: BMP・JPEG・GIF・PNG・WebP)</source>
        <translation>OS/2 bitmap arrays are not supported. (Supported formats: BMP, JPEG, GIF, PNG, WebP)</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>None</translation>
    </message>
    <message>
        <source>Google 広告</source>
        <translation>Google Ads</translation>
    </message>
    <message>
        <source>IAB</source>
        <translation>IAB</translation>
    </message>
    <message>
        <source>Amazon</source>
        <translation>Amazon</translation>
    </message>
    <message numerus="yes">
        <source>{} 秒 × {} フレーム</source>
        <translation>
            <numerusform>{} s × {} frame</numerusform>
            <numerusform>{} s × {} frames</numerusform>
        </translation>
    </message>
    <message>
        <source> + 静止 {} 秒</source>
        <translation> + hold {} s</translation>
    </message>
    <message>
        <source> = {} 秒</source>
        <translation> = {} s</translation>
    </message>
    <message numerus="yes">
        <source>、{} 回再生 = {} 秒</source>
        <translation>
            <numerusform>, {} play = {} s</numerusform>
            <numerusform>, {} plays = {} s</numerusform>
        </translation>
    </message>
    <message>
        <source>、無限に繰り返し</source>
        <translation>, loops forever</translation>
    </message>
    <message>
        <source>表示間隔が {}の下限 {} 秒より短くなっています。</source>
        <translation>The interval is shorter than the {} minimum of {} s.</translation>
    </message>
    <message>
        <source>{}では無限に繰り返せません。再生回数を指定してください。</source>
        <translation>{} does not allow endless loops. Set a play count.</translation>
    </message>
    <message>
        <source>再生時間 {} 秒が {}の上限 {} 秒を超えています。</source>
        <translation>The play time of {} s exceeds the {} limit of {} s.</translation>
    </message>
    <message>
        <source>再生回数 {} 回が {}の上限 {} 回を超えています。</source>
        <translation>The play count of {} exceeds the {} limit of {}.</translation>
    </message>
    <message>
        <source>アニメーションGIFのサイズは {} バイトです。</source>
        <translation>The animated GIF is {} bytes.</translation>
    </message>
    <message>
        <source>{}の上限 {} バイトに収まっています。</source>
        <translation>That is within the {} limit of {} bytes.</translation>
    </message>
    <message>
        <source>アニメーションGIFを上限 {} バイトに収められません。</source>
        <translation>The animated GIF cannot be made to fit the limit of {} bytes.</translation>
    </message>
    <message>
        <source>最も小さくしても {} バイト（PSNR {} dB）です。</source>
        <translation>Even at its smallest it is {} bytes (PSNR {} dB).</translation>
    </message>
    <message>
        <source>このまま保存しますか？</source>
        <translation>Save it anyway?</translation>
    </message>
    <message numerus="yes">
        <source>{}の上限 {} バイトを {} バイト超えています。</source>
        <translation>
            <numerusform>That exceeds the {} limit of {} bytes by {} byte.</numerusform>
            <numerusform>That exceeds the {} limit of {} bytes by {} bytes.</numerusform>
        </translation>
    </message>
    <message>
        <source>容量の上限</source>
        <translation>Size limit</translation>
    </message>
    <message>
        <source>ファイルがこの大きさを超えるときは、画質を下げて収めます（1 KB = 1,000 バイト）。</source>
        <translation>A file larger than this is made to fit by lowering its quality (1 KB = 1,000 bytes).</translation>
    </message>
    <message>
        <source>サイズを計算中…</source>
        <translation>Working out the size…</translation>
    </message>
    <message>
        <source>サイズの計算の進み具合</source>
        <translation>Progress of working out the size</translation>
    </message>
    <message>
        <source>サイズの計算が終わると保存します…</source>
        <translation>Saves once the size is worked out…</translation>
    </message>
    <message>
        <source>%1 バイト</source>
        <translation>%1 bytes</translation>
    </message>
    <message>
        <source>%1 バイト（予算 %2）</source>
        <translation>%1 bytes (budget %2)</translation>
    </message>
    <message>
        <source>、PSNR %1 dB</source>
        <translation>, PSNR %1 dB</translation>
    </message>
    <message>
        <source>予算 %1 バイトに収まりません（最小 %2 バイト、PSNR %3 dB）。</source>
        <translation>Does not fit the budget of %1 bytes (smallest %2 bytes, PSNR %3 dB).</translation>
    </message>
    <message>
        <source>保存するフレームがありません。</source>
        <translation>There are no frames to save.</translation>
    </message>
    <message>
        <source>ヘルプのページは次のフォルダーにあります。
%1</source>
        <translation>The help pages are in this folder:
%1</translation>
    </message>
    <message>
        <source>大きな画像も開く(～1200x1200pixels)(&amp;L)</source>
        <translation>Open &amp;Large Pictures (Up to 1200x1200 pixels)</translation>
    </message>
    <message>
        <source>画像が大きすぎます。(～1200x1200pixels)</source>
        <translation>The picture is too large. (Up to 1200x1200 pixels)</translation>
    </message>
    <message>
        <source>画像の大きさ {} x {} ピクセルは {}の標準サイズにありません。</source>
        <translation>The picture size of {} x {} pixels is not one of the {} standard sizes.</translation>
    </message>
    <message>
        <source>シーン一覧(&amp;L)</source>
        <translation>Scene &amp;List</translation>
    </message>
    <message>
        <source>シーン一覧</source>
        <translation>Scene List</translation>
    </message>
    <message>
        <source>%1&#x3000;保持 %2 秒</source>
        <translation>%1 — hold %2 s</translation>
    </message>
    <message>
        <source>保持時間(&amp;H)</source>
        <translation>&amp;Hold</translation>
    </message>
    <message>
        <source> 秒</source>
        <translation> s</translation>
    </message>
    <message>
        <source>追加(&amp;A)</source>
        <translation>&amp;Add</translation>
    </message>
    <message>
        <source>置き換え(&amp;R)</source>
        <translation>&amp;Replace</translation>
    </message>
    <message>
        <source>上へ(&amp;U)</source>
        <translation>Move &amp;Up</translation>
    </message>
    <message>
        <source>下へ(&amp;D)</source>
        <translation>Move &amp;Down</translation>
    </message>
    <message>
        <source>削除(&amp;E)</source>
        <translation>R&amp;emove</translation>
    </message>
    <message>
        <source>閉じる(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>シーンにする元画像がありません。</source>
        <translation>There is no source picture to make a scene of.</translation>
    </message>
    <message>
        <source>プロジェクト(&amp;P)</source>
        <translation>&amp;Project</translation>
    </message>
    <message>
        <source>プロジェクトを開く(&amp;P)...</source>
        <translation>Open &amp;Project...</translation>
    </message>
    <message>
        <source>プロジェクトを上書き保存(&amp;J)</source>
        <translation>Save Pro&amp;ject</translation>
    </message>
    <message>
        <source>プロジェクトに名前を付けて保存(&amp;K)...</source>
        <translation>Save Project &amp;As...</translation>
    </message>
    <message>
        <source>前回のプロジェクト: %1</source>
        <translation>Last project: %1</translation>
    </message>
    <message>
        <source>プロジェクトを開く</source>
        <translation>Open Project</translation>
    </message>
    <message>
        <source>プロジェクトの保存</source>
        <translation>Save Project</translation>
    </message>
    <message>
        <source>Pictorell プロジェクト(*.pictorell)</source>
        <translation>Pictorell project (*.pictorell)</translation>
    </message>
    <message>
        <source>プロジェクトを開けませんでした。
%1
%2</source>
        <translation>The project could not be opened.
%1
%2</translation>
    </message>
    <message>
        <source>シーン %1 の画像が見つかりません。
%2</source>
        <translation>The picture of scene %1 was not found.
%2</translation>
    </message>
    <message>
        <source>シーン %1 の画像を読み込めませんでした。
%2
%3</source>
        <translation>The picture of scene %1 could not be read.
%2
%3</translation>
    </message>
    <message>
        <source>シーン %1 の画像の大きさ(%3×%4)が最初のシーン(%5×%6)と違います。
%2</source>
        <translation>The picture of scene %1 (%3×%4) is not the size of the first scene (%5×%6).
%2</translation>
    </message>
    <message>
        <source>シーン %1 の画像はファイルではないため、プロジェクトに保存できません。</source>
        <translation>The picture of scene %1 is not a file, so it cannot be saved in a project.</translation>
    </message>
    <message>
        <source>プロジェクトを保存できませんでした。
%1
%2</source>
        <translation>The project could not be saved.
%1
%2</translation>
    </message>
    <message>
        <source>バナー再生(&amp;B)</source>
        <translation>Play &amp;Banner</translation>
    </message>
    <message>
        <source>再生中止(&amp;B)</source>
        <translation>Stop &amp;Banner</translation>
    </message>
    <message>
        <source>一時停止(&amp;Z)</source>
        <translation>Pau&amp;se</translation>
    </message>
    <message>
        <source>再開(&amp;Z)</source>
        <translation>Re&amp;sume</translation>
    </message>
    <message>
        <source>コマ送り(&amp;N)</source>
        <translation>&amp;Next Frame</translation>
    </message>
    <message>
        <source>バナーの背景色</source>
        <translation>Banner background color</translation>
    </message>
    <message>
        <source>バナーの背景色を選択</source>
        <translation>Choose the banner background color</translation>
    </message>
    <message>
        <source>元画像ファイル</source>
        <translation>Source picture file</translation>
    </message>
    <message>
        <source>元画像</source>
        <translation>Source picture</translation>
    </message>
    <message>
        <source>開いた画像</source>
        <translation>The opened picture</translation>
    </message>
    <message>
        <source>プレビュー画面</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>プレビュー中のフレーム</source>
        <translation>The frame being previewed</translation>
    </message>
    <message>
        <source>プレビューを１コマずつ進めます</source>
        <translation>Advances the preview one frame at a time</translation>
    </message>
    <message>
        <source>プレビューを続けます</source>
        <translation>Continues the preview</translation>
    </message>
    <message>
        <source>収束色相</source>
        <translation>Target hue</translation>
    </message>
    <message>
        <source>上へ移動</source>
        <translation>Move up</translation>
    </message>
    <message>
        <source>下へ移動</source>
        <translation>Move down</translation>
    </message>
    <message>
        <source>選択したフレームを上へ移動</source>
        <translation>Move the selected frame up</translation>
    </message>
    <message>
        <source>選択したフレームを下へ移動</source>
        <translation>Move the selected frame down</translation>
    </message>
    <message>
        <source>フレーム%1</source>
        <translation>Frame %1</translation>
    </message>
    <message>
        <source>クリックで選択</source>
        <translation>Click to select</translation>
    </message>
    <message>
        <source>フレーム%1のチェック</source>
        <translation>Check frame %1</translation>
    </message>
    <message>
        <source>チェックしたフレームを削除できます</source>
        <translation>Checked frames can be deleted</translation>
    </message>
    <message>
        <source>フレームのスクロール</source>
        <translation>Scroll the frames</translation>
    </message>
    <message>
        <source>全フレームをフレーム・リストに貼付け</source>
        <translation>Copy A&amp;ll Frames to Frame List</translation>
    </message>
    <message>
        <source>全フレーム追加(&amp;L)</source>
        <translation>Add A&amp;ll Frames</translation>
    </message>
    <message>
        <source>プレビュー中の全フレームを再生順に追加</source>
        <translation>Add every frame of the running preview in play order</translation>
    </message>
    <message>
        <source>複製(&amp;U)</source>
        <translation>Dupli&amp;cate</translation>
    </message>
    <message>
        <source>選択したフレームを複製</source>
        <translation>Duplicate the selected frames</translation>
    </message>
    <message>
        <source>元に戻す(&amp;Z)</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>やり直し(&amp;R)</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>表示時間(&amp;T)</source>
        <translation>Display &amp;time</translation>
    </message>
    <message>
        <source>設定(&amp;E)</source>
        <translation>S&amp;et</translation>
    </message>
    <message>
        <source>選択したフレームの表示時間を設定</source>
        <translation>Give the selected frames this display time</translation>
    </message>
    <message>
        <source>既定に戻す(&amp;I)</source>
        <translation>De&amp;fault</translation>
    </message>
    <message>
        <source>選択したフレームを保存時に指定する間隔で表示</source>
        <translation>Show the selected frames for the interval chosen when saving</translation>
    </message>
    <message>
        <source>%1 秒</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>既定</source>
        <translation>default</translation>
    </message>
    <message>
        <source>フレーム追加</source>
        <translation>Add frames</translation>
    </message>
    <message>
        <source>フレーム削除</source>
        <translation>Delete frames</translation>
    </message>
    <message>
        <source>フレーム移動</source>
        <translation>Move frames</translation>
    </message>
    <message>
        <source>フレーム複製</source>
        <translation>Duplicate frames</translation>
    </message>
    <message>
        <source>表示時間の変更</source>
        <translation>Change display time</translation>
    </message>
    <message>
        <source>フレーム・リストに保存していない変更があります。
保存せずに閉じますか？</source>
        <translation>The frame list has changes that have not been saved.
Close without saving?</translation>
    </message>
    <message numerus="yes">
        <source>{} フレーム（表示時間はフレームごと）</source>
        <translation>
            <numerusform>{} frame (own display times)</numerusform>
            <numerusform>{} frames (own display times)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>{} フレームの表示時間を {}の下限 {} 秒に延ばして保存します。</source>
        <translation>
            <numerusform>The display time of {} frame is raised to the {} minimum of {} s when saving.</numerusform>
            <numerusform>The display times of {} frames are raised to the {} minimum of {} s when saving.</numerusform>
        </translation>
    </message>
    <message>
        <source>枠線（1 ピクセル）</source>
        <translation>Border (1 pixel)</translation>
    </message>
    <message>
        <source>枠線の色 (RRGGBB)</source>
        <translation>Border colour (RRGGBB)</translation>
    </message>
    <message>
        <source>保存するアニメーションの各フレームの外周 1 ピクセルをこの色 (RRGGBB) で描きます。プレビューとフレームのファイルは変わりません。</source>
        <translation>Draws the outermost pixels of every frame of the saved animation in this colour (RRGGBB). The preview and frame files stay as they are.</translation>
    </message>
    <message>
        <source>明暗の変化が 1 秒間に %1 回あり、点滅の上限 %2 回を超えています（WCAG 2.3.1）。</source>
        <translation>%1 changes of brightness in one second, over the flash limit of %2 (WCAG 2.3.1).</translation>
    </message>
    <message>
        <source>赤の変化が 1 秒間に %1 回あり、赤い点滅の上限 %2 回を超えています（WCAG 2.3.1）。</source>
        <translation>%1 changes to or from red in one second, over the red flash limit of %2 (WCAG 2.3.1).</translation>
    </message>
    <message>
        <source>保存したファイル：%1 バイト、%2 フレーム、1 回の再生 %3 秒</source>
        <translation>Saved file: %1 bytes, %2 frames, one play %3 s</translation>
    </message>
    <message numerus="yes">
        <source>、%1 回再生 = %2 秒</source>
        <translation>
            <numerusform>, %1 play = %2 s</numerusform>
            <numerusform>, %1 plays = %2 s</numerusform>
        </translation>
    </message>
    <message>
        <source>最短の表示時間 %1 秒が下限 %2 秒より短くなっています。</source>
        <translation>Shortest delay %1 s, shorter than the minimum of %2 s.</translation>
    </message>
    <message numerus="yes">
        <source>表示時間 0 秒か 0.01 秒のフレームが %1 個あります（ブラウザーでは 0.1 秒になります）。</source>
        <translation>
            <numerusform>%1 delay of 0 or 0.01 s (browsers play it as 0.1 s).</numerusform>
            <numerusform>%1 delays of 0 or 0.01 s (browsers play them as 0.1 s).</numerusform>
        </translation>
    </message>
    <message>
        <source>無限に繰り返します。再生回数の指定が必要です。</source>
        <translation>Loops forever; a number of plays must be set.</translation>
    </message>
    <message>
        <source>再生時間 %1 秒が上限 %2 秒を超えています。</source>
        <translation>Total time %1 s, over the limit of %2 s.</translation>
    </message>
    <message>
        <source>再生回数 %1 回が上限 %2 回を超えています。</source>
        <translation>%1 plays, over the limit of %2.</translation>
    </message>
    <message>
        <source>%1 バイトが上限 %2 バイトを超えています。</source>
        <translation>%1 bytes, over the limit of %2.</translation>
    </message>
    <message>
        <source>画像の大きさ %1 x %2 ピクセルは標準サイズにありません。</source>
        <translation>%1 x %2 pixels is not a listed size.</translation>
    </message>
</context>
</TS>
