<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>AboutBox</name>
    <message>
        <source>%1 %2</source>
        <translation>%1 %2</translation>
    </message>
    <message>
        <source>Japanese invoices (請求書) as PDF.</source>
        <translation>日本の請求書を PDF で作ります。</translation>
    </message>
    <message>
        <source>License: see the copyright file that comes with %1.</source>
        <translation>ライセンス: %1 に付属の copyright ファイルをご覧ください。</translation>
    </message>
    <message>
        <source>License: %1</source>
        <translation>ライセンス: %1</translation>
    </message>
    <message>
        <source>Qt %1</source>
        <translation>Qt %1</translation>
    </message>
    <message>
        <source>ICU %1</source>
        <translation>ICU %1</translation>
    </message>
    <message>
        <source>qpdf %1</source>
        <translation>qpdf %1</translation>
    </message>
    <message>
        <source>About %1</source>
        <translation>%1 について</translation>
    </message>
</context>
<context>
    <name>Accessibility</name>
    <message>
        <source>image</source>
        <translation>画像</translation>
    </message>
    <message>
        <source>%1: empty</source>
        <translation>%1: 空欄</translation>
    </message>
    <message>
        <source>Your saved entries. OK puts the chosen one on the page.</source>
        <translation>保存してある項目です。OK で選んだ項目を請求書に書き込みます。</translation>
    </message>
    <message>
        <source>Add an entry</source>
        <translation>項目を追加</translation>
    </message>
    <message>
        <source>Adds an entry to this list, which every invoice shares.</source>
        <translation>このリストに項目を追加します。リストはすべての請求書で共通です。</translation>
    </message>
    <message>
        <source>Remove the entry</source>
        <translation>項目を削除</translation>
    </message>
    <message>
        <source>Removes the chosen entry from this list.</source>
        <translation>選んだ項目をこのリストから削除します。</translation>
    </message>
    <message>
        <source>Edit the entry</source>
        <translation>項目を編集</translation>
    </message>
    <message>
        <source>Changes the chosen entry of this list.</source>
        <translation>このリストの選んだ項目を変更します。</translation>
    </message>
    <message>
        <source>Puts the chosen entry on the page and closes the panel.</source>
        <translation>選んだ項目を請求書に書き込み、パネルを閉じます。</translation>
    </message>
    <message>
        <source>Adds the new entry to the list.</source>
        <translation>新しい項目をリストに追加します。</translation>
    </message>
    <message>
        <source>Removes the chosen entry from the list.</source>
        <translation>選んだ項目をリストから削除します。</translation>
    </message>
    <message>
        <source>Keeps the changed entry in the list.</source>
        <translation>変更した項目をリストに保存します。</translation>
    </message>
    <message>
        <source>御中 for a company or an organisation, 様 for a person.</source>
        <translation>会社や団体には御中、個人には様を使います。</translation>
    </message>
    <message>
        <source>Addresses a company or an organisation.</source>
        <translation>会社や団体あての敬称です。</translation>
    </message>
    <message>
        <source>Addresses a person.</source>
        <translation>個人あての敬称です。</translation>
    </message>
    <message>
        <source>The day the invoice is issued.</source>
        <translation>請求書を発行する日です。</translation>
    </message>
    <message>
        <source>Shows the date in the Japanese era, as 令和8年12月5日.</source>
        <translation>日付を令和8年12月5日のように和暦で表示します。</translation>
    </message>
    <message>
        <source>Puts the date on the page and closes the panel.</source>
        <translation>日付を請求書に書き込み、パネルを閉じます。</translation>
    </message>
    <message>
        <source>The stamp to use. Drop or paste an image of your seal here.</source>
        <translation>使う印鑑です。ここに印鑑の画像をドロップするか、貼り付けてください。</translation>
    </message>
    <message>
        <source>Chooses an image file for the stamp.</source>
        <translation>印鑑の画像ファイルを選びます。</translation>
    </message>
    <message>
        <source>Empties the preview; OK then removes your stamp.</source>
        <translation>プレビューを空にします。続けて OK を押すと印鑑を削除します。</translation>
    </message>
    <message>
        <source>Puts the stamp on the page and keeps it for every invoice.</source>
        <translation>印鑑を請求書に置き、すべての請求書で使えるように保存します。</translation>
    </message>
    <message>
        <source>Puts the item table&apos;s total into the invoice amount.</source>
        <translation>明細表の合計を御請求金額に書き込みます。</translation>
    </message>
    <message>
        <source>Closes this notice.</source>
        <translation>このお知らせを閉じます。</translation>
    </message>
    <message>
        <source>Appends the subtotal, the consumption tax and the total.</source>
        <translation>小計、消費税、合計の行を追加します。</translation>
    </message>
    <message>
        <source>Goes back to the table without adding the sums.</source>
        <translation>合計を追加せずに明細表に戻ります。</translation>
    </message>
    <message>
        <source>The invoice&apos;s rows. Arrow keys move, Return or F2 edits a cell, Ctrl+Return works out the row&apos;s price, Tab goes on to the buttons.</source>
        <translation>請求書の明細行です。矢印キーで移動し、Return か F2 でセルを編集、Ctrl+Return でその行の価格を計算、Tab でボタンに移ります。</translation>
    </message>
    <message>
        <source>Adds a row at the end of the table.</source>
        <translation>明細表の最後に行を追加します。</translation>
    </message>
    <message>
        <source>Removes the selected rows.</source>
        <translation>選んだ行を削除します。</translation>
    </message>
    <message>
        <source>Takes the sums rows away again.</source>
        <translation>合計の行を取り除きます。</translation>
    </message>
    <message>
        <source>Writes every amount in the table as currency.</source>
        <translation>明細表の金額をすべて通貨の形式で書き込みます。</translation>
    </message>
    <message>
        <source>Adds 8 % consumption tax to the subtotal. Turn it off when your prices include tax.</source>
        <translation>小計に8 %の消費税を加えます。価格が税込みのときはオフにしてください。</translation>
    </message>
    <message>
        <source>Keeps the table as it is and closes the panel.</source>
        <translation>明細表を今のまま確定し、パネルを閉じます。</translation>
    </message>
    <message>
        <source>Puts the table back as it was when the panel opened, as one step that Undo can take back.</source>
        <translation>明細表をパネルを開いたときの状態に戻します。この操作は「元に戻す」で取り消せます。</translation>
    </message>
    <message>
        <source>Closes the panel and leaves the invoice as it was.</source>
        <translation>請求書を変えずにパネルを閉じます。</translation>
    </message>
    <message>
        <source>%1 Press Space or Return to change it.</source>
        <translation>%1スペースキーか Return キーで変更できます。</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>タイトル</translation>
    </message>
    <message>
        <source>The invoice&apos;s title.</source>
        <translation>請求書のタイトルです。</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>日付</translation>
    </message>
    <message>
        <source>The invoice date.</source>
        <translation>請求日です。</translation>
    </message>
    <message>
        <source>Customer</source>
        <translation>取引先</translation>
    </message>
    <message>
        <source>The customer&apos;s name with 御中 or 様.</source>
        <translation>御中または様を付けた取引先の名前です。</translation>
    </message>
    <message>
        <source>Invoice amount</source>
        <translation>御請求金額</translation>
    </message>
    <message>
        <source>The amount billed, taken from the item table.</source>
        <translation>明細表から取り込んだ請求金額です。</translation>
    </message>
    <message>
        <source>Your details</source>
        <translation>自分の情報</translation>
    </message>
    <message>
        <source>Your postal code, address, name, telephone and bank account.</source>
        <translation>自分の郵便番号、住所、名前、電話番号、振込先口座です。</translation>
    </message>
    <message>
        <source>Stamp</source>
        <translation>印鑑</translation>
    </message>
    <message>
        <source>Your seal over your details.</source>
        <translation>自分の情報に重ねて押す印鑑です。</translation>
    </message>
    <message>
        <source>Items</source>
        <translation>明細</translation>
    </message>
    <message>
        <source>The item table.</source>
        <translation>明細表です。</translation>
    </message>
    <message>
        <source>A panel of the invoice page. Esc or Cancel closes it.</source>
        <translation>請求書の編集パネルです。Esc キーかキャンセルで閉じます。</translation>
    </message>
    <message>
        <source>The new entry. Return adds it to the list.</source>
        <translation>新しい項目です。Return キーでリストに追加します。</translation>
    </message>
    <message>
        <source>The chosen entry. Return keeps the change.</source>
        <translation>選んだ項目です。Return キーで変更を保存します。</translation>
    </message>
    <message>
        <source>Honorific</source>
        <translation>敬称</translation>
    </message>
    <message>
        <source>Invoice date</source>
        <translation>請求日</translation>
    </message>
    <message>
        <source>Stamp preview</source>
        <translation>印鑑のプレビュー</translation>
    </message>
    <message>
        <source>The invoice&apos;s number. Empty: the invoice has none. Return puts it on the page.</source>
        <translation>請求書番号です。空欄にすると番号なしの請求書になります。Return キーで請求書に書き込みます。</translation>
    </message>
    <message>
        <source>Puts the next number of your sequence into the field.</source>
        <translation>連番の次の番号を欄に入れます。</translation>
    </message>
    <message>
        <source>Puts the number on the page and closes the panel.</source>
        <translation>番号を請求書に書き込み、パネルを閉じます。</translation>
    </message>
    <message>
        <source>Whether the invoice shows when it is to be paid.</source>
        <translation>請求書にお支払期限を載せるかどうかです。</translation>
    </message>
    <message>
        <source>The day by which the customer is to pay.</source>
        <translation>取引先に支払ってもらう期限の日です。</translation>
    </message>
    <message>
        <source>Puts the due date on the page and closes the panel.</source>
        <translation>お支払期限を請求書に書き込み、パネルを閉じます。</translation>
    </message>
    <message>
        <source>The remarks, a few lines. Tab goes on to the buttons.</source>
        <translation>数行の備考です。Tab キーでボタンに移ります。</translation>
    </message>
    <message>
        <source>Puts the remarks under the table and closes the panel.</source>
        <translation>備考を明細表の下に書き込み、パネルを閉じます。</translation>
    </message>
    <message>
        <source>Invoice number</source>
        <translation>請求書番号</translation>
    </message>
    <message>
        <source>The invoice&apos;s number, under the date; optional.</source>
        <translation>日付の下の請求書番号です。なくてもかまいません。</translation>
    </message>
    <message>
        <source>Payment due date</source>
        <translation>お支払期限</translation>
    </message>
    <message>
        <source>When the customer is to pay, under the invoice amount; optional.</source>
        <translation>御請求金額の下のお支払期限です。なくてもかまいません。</translation>
    </message>
    <message>
        <source>Remarks</source>
        <translation>備考</translation>
    </message>
    <message>
        <source>A few lines under the item table; optional.</source>
        <translation>明細表の下の数行の備考です。なくてもかまいません。</translation>
    </message>
    <message>
        <source>The receipt is handed over on paper: a revenue stamp may be due.</source>
        <translation>領収書を紙で渡します。収入印紙が要ることがあります。</translation>
    </message>
    <message>
        <source>The receipt is sent electronically: no revenue stamp is due.</source>
        <translation>領収書を電子で送ります。収入印紙は要りません。</translation>
    </message>
    <message>
        <source>Keeps the choice and closes the panel.</source>
        <translation>選んだとおりにしてパネルを閉じます。</translation>
    </message>
    <message>
        <source>Revenue stamp</source>
        <translation>収入印紙</translation>
    </message>
    <message>
        <source>Whether the receipt is handed over on paper, and the revenue stamp it then needs.</source>
        <translation>領収書を紙で渡すかどうかと、そのとき要る収入印紙。</translation>
    </message>
    <message>
        <source>The slip&apos;s paper shows the unit prices, prices, sums and amount.</source>
        <translation>納品書に単価・価格・合計と金額を載せます。</translation>
    </message>
    <message>
        <source>The slip&apos;s paper shows the items and quantities only.</source>
        <translation>納品書には品目と数量だけを載せます。</translation>
    </message>
</context>
<context>
    <name>AddressCalibration</name>
    <message>
        <source>Fold this sheet in three at the marks and put it into a window envelope (長形3号). The address must show whole in the window, clear of its edges. If it does not, move it in Preferences (right and down in millimetres) and print this sheet again.

Now moved %1 mm right and %2 mm down.</source>
        <translation>この用紙を印に沿って三つ折りにし、窓付き封筒（長形3号）に入れてください。宛名が窓の縁にかからず、すべて見えれば合っています。見えない場合は、環境設定で位置（右・下へのミリ数）を調整し、もう一度この用紙を印刷してください。

現在の調整: 右へ %1 mm、下へ %2 mm</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>失敗しました</translation>
    </message>
    <message>
        <source>The calibration sheet could not be printed.</source>
        <translation>位置合わせ用紙を印刷できませんでした。</translation>
    </message>
</context>
<context>
    <name>BankAccount</name>
    <message>
        <source>The bank code is four digits (金融機関コード), such as 0001 for みずほ銀行.</source>
        <translation>金融機関コードは4桁の数字です（例：みずほ銀行は 0001）。</translation>
    </message>
    <message>
        <source>The branch code is three digits (支店コード), such as 110.</source>
        <translation>支店コードは3桁の数字です（例：110）。</translation>
    </message>
    <message>
        <source>The account number is seven digits; put zeros in front of a shorter one (0123456).</source>
        <translation>口座番号は7桁の数字です。短い番号は前に0を付けてください（0123456）。</translation>
    </message>
    <message>
        <source>The account type is 普通, 当座 or 貯蓄.</source>
        <translation>口座の種類は普通・当座・貯蓄のいずれかです。</translation>
    </message>
    <message>
        <source>The bank&apos;s name ends in 銀行, 信用金庫, 信用組合, 労働金庫 or 農協, as in みずほ銀行.</source>
        <translation>金融機関名は「みずほ銀行」のように、銀行・信用金庫・信用組合・労働金庫・農協で終わる名前にしてください。</translation>
    </message>
    <message>
        <source>The branch&apos;s name ends in 支店, 本店, 営業部, 出張所 or 店, as in 丸の内支店.</source>
        <translation>支店名は「丸の内支店」のように、支店・本店・営業部・出張所・店で終わる名前にしてください。</translation>
    </message>
    <message>
        <source>The account does not read back the same from its bank line: write the names and the holder as the bank does, without brackets or commas.</source>
        <translation>振込先の行から同じ口座を読み取れません。名前と口座名義は、かっこや読点を使わずに銀行の表記どおりに書いてください。</translation>
    </message>
</context>
<context>
    <name>BatchExport</name>
    <message>
        <source>unknown error</source>
        <translation>不明なエラー</translation>
    </message>
    <message>
        <source>No invoice files to export.</source>
        <translation>書き出す請求書ファイルが指定されていません。</translation>
    </message>
    <message>
        <source>No output folder given.</source>
        <translation>書き出し先のフォルダが指定されていません。</translation>
    </message>
    <message>
        <source>is not a folder (a single file may be exported to a name ending in .pdf)</source>
        <translation>フォルダではありません（ファイルが1つのときは、.pdf で終わる名前に書き出せます）</translation>
    </message>
    <message>
        <source>the folder could not be created</source>
        <translation>フォルダを作成できませんでした</translation>
    </message>
    <message>
        <source>not exported: its PDF would replace the input file %1</source>
        <translation>書き出しませんでした: PDFが入力ファイル %1 を上書きしてしまいます</translation>
    </message>
    <message>
        <source>not exported: %1 would replace the PDF of %2</source>
        <translation>書き出しませんでした: %1 が %2 のPDFを上書きしてしまいます</translation>
    </message>
    <message>
        <source>is a folder, not an invoice file</source>
        <translation>請求書ファイルではなく、フォルダです</translation>
    </message>
    <message>
        <source>warning: %1</source>
        <translation>警告: %1</translation>
    </message>
    <message>
        <source>is not a folder (a single file may be exported to a name ending in .xml)</source>
        <translation>フォルダではありません（ファイルが1つのときは、.xml で終わる名前に書き出せます）</translation>
    </message>
    <message>
        <source>not exported: its XML would replace the input file %1</source>
        <translation>書き出しませんでした: XMLが入力ファイル %1 を上書きしてしまいます</translation>
    </message>
    <message>
        <source>not exported: %1 would replace the XML of %2</source>
        <translation>書き出しませんでした: %1 が %2 のXMLを上書きしてしまいます</translation>
    </message>
    <message>
        <source>cannot be an e-invoice: %1</source>
        <translation>デジタルインボイスにできません: %1</translation>
    </message>
    <message>
        <source>could not be written: %1</source>
        <translation>書き込めませんでした: %1</translation>
    </message>
    <message>
        <source>Not exported; --reissue issues it as the correction of that invoice.</source>
        <translation>書き出していません。その請求書の訂正として発行するには --reissue を付けてください。</translation>
    </message>
</context>
<context>
    <name>CustomerBook</name>
    <message>
        <source>The customer book could not be read.</source>
        <translation>顧客台帳を読み込めませんでした。</translation>
    </message>
    <message>
        <source>The customer book could not be changed: the disk may be full or the file read-only. Nothing was changed.</source>
        <translation>顧客台帳を変更できませんでした。ディスクがいっぱいか、ファイルが読み取り専用の可能性があります。何も変更していません。</translation>
    </message>
    <message>
        <source>A customer needs a name.</source>
        <translation>顧客には名前が必要です。</translation>
    </message>
    <message>
        <source>The customer book is damaged: it is not a database file.</source>
        <translation>顧客台帳が破損しています。データベースファイルではありません。</translation>
    </message>
    <message>
        <source>The file is not a customer book.</source>
        <translation>このファイルは顧客台帳ではありません。</translation>
    </message>
    <message>
        <source>The customer book was written by a later version of Seikyu.</source>
        <translation>顧客台帳は新しいバージョンの Seikyu で書かれています。</translation>
    </message>
    <message>
        <source>The customer book could not be opened.</source>
        <translation>顧客台帳を開けませんでした。</translation>
    </message>
    <message>
        <source>The customer book could not be made.</source>
        <translation>顧客台帳を作成できませんでした。</translation>
    </message>
    <message>
        <source>The customer book&apos;s place is not a file: %1</source>
        <translation>顧客台帳の場所がファイルではありません: %1</translation>
    </message>
    <message>
        <source>The folder of the customer book could not be made: %1</source>
        <translation>顧客台帳のフォルダを作成できませんでした: %1</translation>
    </message>
    <message>
        <source>The customer is no longer in the customer book.</source>
        <translation>この顧客はもう顧客台帳にありません。</translation>
    </message>
</context>
<context>
    <name>CustomerCsv</name>
    <message>
        <source>it has no 顧客名</source>
        <translation>顧客名がありません</translation>
    </message>
    <message>
        <source>its 敬称 %1 is neither 御中 nor 様</source>
        <translation>敬称「%1」が御中でも様でもありません</translation>
    </message>
    <message>
        <source>its 郵便番号 %1 is not seven digits</source>
        <translation>郵便番号「%1」が7桁の数字ではありません</translation>
    </message>
    <message>
        <source>its 締め日 %1 is no day of the month</source>
        <translation>締め日「%1」が日付として読めません</translation>
    </message>
    <message>
        <source>its 支払条件 %1 reads as no payment terms</source>
        <translation>支払条件「%1」が支払条件として読めません</translation>
    </message>
    <message>
        <source>The file holds no customers.</source>
        <translation>ファイルに顧客がありません。</translation>
    </message>
    <message>
        <source>The first line must name the columns, and one of them 顧客名 (the customer&apos;s name).</source>
        <translation>1行目に列名が必要です。そのうち1つは顧客名にしてください。</translation>
    </message>
    <message>
        <source>Shift_JIS has no %1, which %2 holds. Save the list in UTF-8 instead, or change the text.</source>
        <translation>%2 に含まれる「%1」は Shift_JIS にない文字です。UTF-8 で保存するか、文字を変えてください。</translation>
    </message>
</context>
<context>
    <name>CustomerImportPreview</name>
    <message>
        <source>Lines left out:</source>
        <translation>読み込まなかった行:</translation>
    </message>
    <message>
        <source>Import Customers</source>
        <translation>顧客を読み込む</translation>
    </message>
    <message numerus="yes">
        <source>%n customer(s) to add, read as %1:</source>
        <translation>
            <numerusform>追加する顧客 %n 件（%1 として読み込み）:</numerusform>
        </translation>
    </message>
    <message>
        <source>Name</source>
        <translation>顧客名</translation>
    </message>
    <message>
        <source>Reading</source>
        <translation>フリガナ</translation>
    </message>
    <message>
        <source>Honorific</source>
        <translation>敬称</translation>
    </message>
    <message>
        <source>Postal code</source>
        <translation>郵便番号</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>住所</translation>
    </message>
    <message>
        <source>Payment terms</source>
        <translation>支払条件</translation>
    </message>
    <message>
        <source>Columns not read: %1</source>
        <translation>読み込まなかった列: %1</translation>
    </message>
    <message numerus="yes">
        <source>Add %n Customer(s)</source>
        <translation>
            <numerusform>%n 件の顧客を追加</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Document</name>
    <message>
        <source>Untitled</source>
        <translation>名称未設定</translation>
    </message>
    <message>
        <source>Add a Row</source>
        <translation>行を追加</translation>
    </message>
    <message>
        <source>Remove Rows</source>
        <translation>行を削除</translation>
    </message>
    <message>
        <source>Edit a cell</source>
        <translation>セルを編集</translation>
    </message>
    <message>
        <source>Add Sum</source>
        <translation>合計を追加</translation>
    </message>
    <message>
        <source>Finalize</source>
        <translation>確定</translation>
    </message>
    <message>
        <source>double click to edit</source>
        <translation>ダブルクリックして編集</translation>
    </message>
    <message>
        <source>Untitled %1</source>
        <translation>名称未設定 %1</translation>
    </message>
    <message>
        <source>Work Out Price</source>
        <translation>価格を計算</translation>
    </message>
    <message>
        <source>Remove Sum</source>
        <translation>合計を削除</translation>
    </message>
    <message>
        <source>Mark Reduced Rate</source>
        <translation>軽減税率に指定</translation>
    </message>
    <message>
        <source>Mark Not Taxable</source>
        <translation>非課税に指定</translation>
    </message>
    <message>
        <source>Mark Standard Rate</source>
        <translation>標準税率に指定</translation>
    </message>
    <message>
        <source>Revert to Saved</source>
        <translation>保存した状態に戻す</translation>
    </message>
    <message>
        <source>Paste Rows</source>
        <translation>行の貼り付け</translation>
    </message>
    <message>
        <source>Import Rows</source>
        <translation>行の読み込み</translation>
    </message>
    <message>
        <source>Include Tax</source>
        <translation>消費税を加算</translation>
    </message>
    <message>
        <source>Change Tax Rate</source>
        <translation>税率の変更</translation>
    </message>
    <message>
        <source>Withhold Income Tax</source>
        <translation>源泉徴収</translation>
    </message>
</context>
<context>
    <name>EInvoiceExport</name>
    <message>
        <source>This invoice cannot be a JP PINT e-invoice yet.</source>
        <translation>この請求書はまだ JP PINT のデジタルインボイスにできません。</translation>
    </message>
    <message>
        <source>The e-invoice differs from the page.</source>
        <translation>デジタルインボイスは請求書の表示と一部異なります。</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>書き出す</translation>
    </message>
    <message>
        <source>There is no e-invoice to write.</source>
        <translation>書き出すデジタルインボイスがありません。</translation>
    </message>
    <message>
        <source>Export e-Invoice (JP PINT)</source>
        <translation>デジタルインボイス（JP PINT）を書き出す</translation>
    </message>
    <message>
        <source>e-Invoice XML (*.xml)</source>
        <translation>デジタルインボイス XML (*.xml)</translation>
    </message>
    <message>
        <source>“%1” already exists. Do you want to replace it?</source>
        <translation>「%1」はすでにあります。置き換えますか？</translation>
    </message>
    <message>
        <source>The e-invoice is written to this name, as it has to end in .xml.</source>
        <translation>名前は .xml で終わる必要があるため、デジタルインボイスはこの名前で書き出されます。</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>置き換える</translation>
    </message>
    <message>
        <source>The e-invoice could not be written.</source>
        <translation>デジタルインボイスを書き出せませんでした。</translation>
    </message>
</context>
<context>
    <name>EInvoiceMapping</name>
    <message>
        <source>The invoice has no invoice number. Give it one (click where the number goes).</source>
        <translation>請求書番号がありません。番号の位置をクリックして番号を付けてください。</translation>
    </message>
    <message>
        <source>Your details have no name.</source>
        <translation>自分の情報に名前がありません。</translation>
    </message>
    <message>
        <source>Your details have no registration number (登録番号): a JP PINT invoice is a qualified invoice. Add it to your details.</source>
        <translation>自分の情報に登録番号がありません。JP PINT の請求書は適格請求書なので、自分の情報に登録番号を追加してください。</translation>
    </message>
    <message>
        <source>The invoice has no customer.</source>
        <translation>取引先がありません。</translation>
    </message>
    <message>
        <source>The customer has no electronic address (Peppol ID): add it to the customer, 0188 and the corporate number or 0221 and the registration number.</source>
        <translation>取引先の電子アドレス（Peppol ID）がありません。取引先に 0188 と法人番号、または 0221 と登録番号を追加してください。</translation>
    </message>
    <message>
        <source>The customer&apos;s electronic address “%1” is not valid: %2</source>
        <translation>取引先の電子アドレス「%1」が正しくありません: %2</translation>
    </message>
    <message>
        <source>The item table does not end with a total. Add the sums to the table first (Add Sum).</source>
        <translation>明細表の最後に合計がありません。先に表に合計を追加してください（合計を追加）。</translation>
    </message>
    <message>
        <source>Item row %1 has a price but no name.</source>
        <translation>明細の %1 行目に価格がありますが、項目名がありません。</translation>
    </message>
    <message>
        <source>The table&apos;s sums are not what its items add up to now, or do not state each rate&apos;s tax. Remove the sums and add them again (Add Sum).</source>
        <translation>明細表の合計が今の明細と合わないか、税率ごとの消費税が記載されていません。合計を削除して、もう一度追加してください（合計を追加）。</translation>
    </message>
    <message>
        <source>The item table has no items.</source>
        <translation>明細表に明細がありません。</translation>
    </message>
    <message>
        <source>御請求金額 shows %1, but the table&apos;s total is %2. Update the invoice amount first.</source>
        <translation>御請求金額は %1 ですが、明細表の合計は %2 です。先に御請求金額を更新してください。</translation>
    </message>
    <message>
        <source>The invoice says neither when nor where to pay: give it a payment due date or a bank account in your details.</source>
        <translation>支払期限も振込先もありません。お支払期限を付けるか、自分の情報に振込先を追加してください。</translation>
    </message>
    <message>
        <source>The amounts are too large to be stated without their tax.</source>
        <translation>金額が大きすぎて、税抜きで記載できません。</translation>
    </message>
    <message>
        <source>The %1 of %2 cannot be stated as JP PINT requires: the tax on %3, the price without it, does not round to it. Total the table again with the tax rounded half up (四捨五入, Preferences).</source>
        <translation>%2 の %1 は JP PINT の決まりどおりに記載できません。税抜き価格 %3 に対する消費税を端数処理しても、この額になりません。「設定」で端数処理を四捨五入にして、合計を追加し直してください。</translation>
    </message>
    <message>
        <source>The table&apos;s total %1 is not its items and their tax. Remove the sums and add them again (Add Sum).</source>
        <translation>明細表の合計 %1 が明細と消費税の合計と合いません。合計を削除して、もう一度追加してください（合計を追加）。</translation>
    </message>
    <message>
        <source>JP PINT has no place for withheld income tax: the e-invoice asks for the total %1 and states the withheld %2 and the %3 to be paid in its note.</source>
        <translation>JP PINT には源泉徴収税の項目がありません。デジタルインボイスの請求額は合計 %1 とし、源泉徴収税 %2 と差引請求額 %3 は備考に記載します。</translation>
    </message>
    <message>
        <source>The e-invoice would not be valid UBL 2.1, so it is not written (%1).</source>
        <translation>このデジタルインボイスは UBL 2.1 として有効にならないため、書き出しません（%1）。</translation>
    </message>
    <message>
        <source>“%1” holds a character an e-invoice cannot carry (%2): remove it first.</source>
        <translation>「%1」にデジタルインボイスに入れられない文字（%2）があります。先に取り除いてください。</translation>
    </message>
    <message>
        <source>“%1” is a date in the year %2: an e-invoice states years 0001 to 9999 only.</source>
        <translation>「%1」は%2年の日付です。デジタルインボイスに記載できるのは0001年から9999年までです。</translation>
    </message>
    <message>
        <source>The invoice is at the former standard rate of 8 %. JP PINT states 8 % only as the reduced rate (food and newspapers), so its rows would be stated as what they are not: set the rate to 10 % in the item table&apos;s panel, or mark the rows that are at the reduced rate (※).</source>
        <translation>この請求書は旧標準税率の 8% です。JP PINT では 8% は軽減税率（飲食料品・新聞）としてしか記載できず、明細が実際と違う区分で記載されてしまいます。明細表のパネルで税率を 10% にするか、軽減税率の行に印（※）を付けてください。</translation>
    </message>
</context>
<context>
    <name>HelpPanel</name>
    <message>
        <source>Summary</source>
        <translation>概要</translation>
    </message>
    <message>
        <source>Generate a common style invoice in Japanese. Supposed to be exported as PDF.</source>
        <translation>一般的な書式の請求書を日本語で作成します。PDFとして書き出して使うことを想定しています。</translation>
    </message>
    <message>
        <source>Guide border</source>
        <translation>ガイド枠</translation>
    </message>
    <message>
        <source>Click each part surrounded by blue border to see dialog. When you finish editing and click OK, blue border goes away.</source>
        <translation>青い枠で囲まれた各部分をクリックすると、ダイアログが開きます。編集を終えて「OK」をクリックすると、青い枠は消えます。</translation>
    </message>
    <message>
        <source>Editable parts</source>
        <translation>編集できる部分</translation>
    </message>
    <message>
        <source>Above left, you can select Title. Above right, a date. Second row, a customer&apos;s name. Third row left, total sum, which you should edit later. Third row right, your info. Under your info, choose a stamp. You can also select not to use this.</source>
        <translation>左上ではタイトルを選べます。右上は日付、2段目は取引先の名前です。3段目の左は御請求金額で、最後に編集します。3段目の右は自分の情報です。その下で印鑑を選びます。印鑑を使わないこともできます。</translation>
    </message>
    <message>
        <source>Table</source>
        <translation>明細表</translation>
    </message>
    <message>
        <source>Edit a table below by double-clicking on each cell. With &quot;Include Tax&quot; checked, sum includes taxes. When you add &quot;単価&quot; and &quot;個数&quot;, click on spaces inside the row to add sum into &quot;合計&quot; cell. When you&apos;ve done all the input, click &quot;Add Sum&quot; to add rows with sums at the bottom.</source>
        <translation>下の表は、各セルをダブルクリックして編集します。「消費税を加算」にチェックを入れると、合計に消費税が含まれます。「単価」と「個数」を入力したら、その行の空いているところをクリックすると「合計」のセルに金額が入ります。すべて入力し終えたら「合計を追加」をクリックすると、表の最後に合計の行が追加されます。</translation>
    </message>
    <message>
        <source>From the keyboard: on the page, Tab moves from region to region and Space or Return opens one. In the table, Return or F2 edits a cell, Ctrl+Return works out the price of the current row as a click does, and Tab moves on to the buttons. Ctrl+Z and Ctrl+Shift+Z (or Undo and Redo in the panel) undo and redo while the table is open. Cancel or Esc puts the table back as it was when you opened it; Undo brings your edits back.</source>
        <translation>キーボードでは、請求書の上で Tab キーを押すと部分から部分へ移動し、スペースキーか Return キーで開きます。明細表では Return か F2 でセルを編集し、Ctrl+Return でクリックと同じように今の行の価格を計算し、Tab キーで下のボタンに移ります。明細表を開いている間は Ctrl+Z と Ctrl+Shift+Z（またはパネルの「元に戻す」「やり直す」）で取り消しとやり直しができます。キャンセルか Esc キーで、明細表を開いたときの状態に戻ります。「元に戻す」で編集内容を取り戻せます。</translation>
    </message>
    <message>
        <source>Amounts</source>
        <translation>金額の入力</translation>
    </message>
    <message>
        <source>Tax rates and the qualified invoice</source>
        <translation>税率と適格請求書</translation>
    </message>
    <message>
        <source>The table panel&apos;s Rate is the invoice&apos;s consumption-tax rate: 10 %, the standard rate since October 2019, or 8 %, the rate of earlier invoices. Preferences choose the rate of new invoices and how the tax is rounded, once per rate. On a 10 % invoice, mark food, drink and newspapers with Tax Class, Reduced Rate 8 % (Ctrl+R): the row shows ※, explained under the table. Not Taxable (Ctrl+E) leaves a row out of the tax. With more than one rate the sums state each rate&apos;s total and tax. Enter your registration number (登録番号, T and 13 digits) as the last field of your details: the invoice then becomes a qualified invoice (適格請求書), showing the number and every rate&apos;s total and tax.</source>
        <translation>明細パネルの「税率」はこの請求書の消費税率です。2019年10月からの標準税率 10 % か、以前の請求書の 8 % を選びます。環境設定では新しい請求書の税率と、税率ごとに1回の端数処理を選べます。10 % の請求書では、飲食料品や新聞の行を「税区分」の「軽減税率 8 %」（Ctrl+R）にします。行に ※ が付き、表の下に説明が出ます。「非課税・不課税」（Ctrl+E）の行は消費税の対象から外れます。税率が2つ以上あるときは、税率ごとの合計と消費税が並びます。自分の情報の最後の欄に登録番号（T と13桁の数字）を入力すると、請求書は適格請求書になり、登録番号と税率ごとの合計と消費税が載ります。</translation>
    </message>
    <message>
        <source>Invoice number</source>
        <translation>請求書番号</translation>
    </message>
    <message>
        <source>Click under the date, at the right, to give the invoice a number; it shows as &quot;No. 2026-0012&quot;. The panel offers the next number of your sequence, and you may type any other. Edit ▸ Preferences sets the pattern: {yyyy} is the year of the invoice date, {yy} its last two digits, {0000} the sequence with as many digits as zeros. With the year in the pattern, each year starts again at 1. The sequence moves on only when an offered number goes onto an invoice; a number you type yourself leaves it as it is. An invoice with a number is saved and exported under that number. Leave the field empty for no number.</source>
        <translation>右上の日付の下をクリックすると、請求書に番号を付けられます。「No. 2026-0012」のように表示されます。パネルには連番の次の番号が入っていて、別の番号を入力することもできます。番号の書式は「編集」▸「設定」で決めます。{yyyy} は請求日の年、{yy} はその下2桁、{0000} は連番で、0 の数だけの桁数になります。書式に年が入っていれば、連番は年ごとに 1 から始まります。連番が進むのは、パネルが示した番号を請求書に使ったときだけで、自分で入力した番号では進みません。番号のある請求書は、その番号の名前で保存・書き出しされます。番号を付けないときは欄を空にします。</translation>
    </message>
    <message>
        <source>Payment due date</source>
        <translation>お支払期限</translation>
    </message>
    <message>
        <source>Click under the invoice amount to show when the customer is to pay (お支払期限). The panel proposes a date from the invoice date by your usual terms, set in Preferences: the end of the following month, 30 days after the invoice date, or a fixed day of the following month (a day the month does not have becomes its last day). The due date is shown like the invoice date, in the Western calendar or the Japanese era. Untick &quot;Show a payment due date&quot; to take it away. A due date before the invoice date is framed in blue until you put it right.</source>
        <translation>御請求金額の下をクリックすると、お支払期限を載せられます。パネルには、請求日から「設定」で決めたいつもの支払条件で求めた日付が入っています。条件は、翌月末、請求日の30日後、翌月の決まった日のどれかです（その月にない日はその月の末日になります）。お支払期限は請求日と同じく、西暦か和暦で表示されます。なくすときは「お支払期限を表示」のチェックを外します。お支払期限が請求日より前になっていると、直すまで青い枠で囲まれます。</translation>
    </message>
    <message>
        <source>Remarks</source>
        <translation>備考</translation>
    </message>
    <message>
        <source>Duplicate</source>
        <translation>複製</translation>
    </message>
    <message>
        <source>File ▸ Duplicate (Ctrl+Shift+D) makes next month&apos;s invoice from the one in front of you: a new, unsaved invoice with the same title, customer, details, items and remarks, dated a month after the original (the 31st becoming the last day of a shorter month, a month&apos;s last day the next month&apos;s last), or on the date you set in the dialog. Where the original has a number and a due date, the copy gets the next number for its date, and its due date moves on by as many months as the invoice date. The sums rows and the invoice amount are kept only if you tick &quot;Keep the sums rows and the invoice amount&quot;; Seikyu remembers your choice. With &quot;Move the rows&apos; dates with the invoice date&quot; (on unless you turn it off) a row dated 4/30 or ４月３０日 moves by as many months as the invoice date, the 31st becoming the last day of a shorter month; other texts stay. Until the copy is saved, changing its date offers to move the rows&apos; dates and the due date with it. The original stays as it is.</source>
        <translation>「ファイル」▸「複製」（Ctrl+Shift+D）で、今の請求書から来月の請求書を作れます。タイトル、取引先、自分の情報、明細、備考が同じで、日付が元の請求書の1か月後（31日は短い月ではその月の末日、月末は翌月の月末）か、ダイアログで指定した日付の、まだ保存していない新しい請求書になります。元の請求書に番号とお支払期限があれば、複製にはその日付の次の番号が入り、お支払期限は請求日と同じ月数だけ進みます。合計の行と御請求金額は「合計の行と御請求金額を残す」にチェックを入れたときだけ残り、その選択は次回も使われます。「明細の日付を請求日と一緒に進める」（はじめはオン）では、4/30 や ４月３０日 と書いた明細の日付が請求日と同じ月数だけ進み、31日は短い月ではその月の末日になります。ほかの文字は変わりません。保存する前に複製の日付を変えると、明細の日付とお支払期限も一緒に動かすかどうかを尋ねます。元の請求書は変わりません。</translation>
    </message>
    <message>
        <source>Withholding tax</source>
        <translation>源泉徴収税</translation>
    </message>
    <message>
        <source>For fees paid to an individual (design, writing, lectures and the like) the customer withholds income tax (源泉徴収) and pays the rest. Tick &quot;Withhold Income Tax&quot; in the item table&apos;s panel: after 合計 the sums show 源泉徴収税, as a negative amount, and 差引請求額, what the customer pays, which the invoice amount then takes. The tax is 10.21 % of the amount up to ¥1,000,000 and 20.42 % of the part above it plus ¥102,100, fractions of a yen cut off. It is worked out on the amount before consumption tax when the tax is added separately, and on the whole amount when the prices include it.</source>
        <translation>デザイン、原稿執筆、講演などの個人への報酬では、取引先が所得税を源泉徴収し、残りを支払います。明細表のパネルで「源泉徴収」にチェックを入れると、合計のあとにマイナスの金額で源泉徴収税と、取引先が支払う差引請求額が加わり、御請求金額には差引請求額が入ります。税額は100万円までの部分が10.21 %、100万円を超える部分が20.42 %に102,100円を加えた額で、1円未満は切り捨てます。消費税を別に加算しているときは消費税を除いた金額から、価格が税込みのときは全体の金額から計算します。</translation>
    </message>
    <message>
        <source>Click under the item table to add a few lines of remarks (備考): who pays the transfer fee, the project&apos;s name. They print in a box under the table, set smaller and wrapped when they are long, and the table makes room for them on a one-page invoice. Empty remarks print nothing.</source>
        <translation>明細表の下をクリックすると、振込手数料の負担や案件名など、数行の備考を書けます。備考は明細表の下の枠に印刷され、長いときは文字を小さくして折り返します。1ページの請求書では、明細表が備考の分だけ場所を空けます。備考が空なら何も印刷されません。</translation>
    </message>
    <message>
        <source>Long invoices</source>
        <translation>長い請求書</translation>
    </message>
    <message>
        <source>A table too long for one page goes on over further pages, at full size. Each further page says whose invoice it is (title, customer, date and number) and repeats the table&apos;s header row; every page shows its number, such as 2 / 3, at its foot. Rows never split across pages, the sums follow the last item, and the ※ legend and the remarks come after the sums. The window shows every page one below the other; click the table on any page to edit it. Print can print a range of the pages.</source>
        <translation>1ページに収まらない明細表は、標準の大きさのまま次のページへ続きます。続きのページには、どの請求書かがわかるよう表題、取引先、日付と請求書番号が入り、明細表の見出し行も繰り返されます。どのページにも下に「2 / 3」のようなページ番号が入ります。行がページをまたいで分かれることはなく、合計欄は最後の明細のあとに続き、※の説明と備考は合計欄のあとに入ります。ウィンドウにはすべてのページが上から順に並び、どのページの明細表もクリックすると編集できます。印刷では一部のページだけを印刷することもできます。</translation>
    </message>
    <message>
        <source>Type amounts as you like, with or without ￥ and commas, in full-width digits too. A minus before an amount (-, －, △ or ▲) makes it a discount. A quantity may have a fraction, such as 1.5 days: the price is rounded to whole yen. Add Sum prices the rows you typed but never clicked, and replaces earlier sums, so every item counts once. From then on the sums follow every change of the table, in the same undo step, and a new row goes above them. When the total changes after the invoice amount took it, the amount&apos;s blue border comes back and exporting asks whether to update it.</source>
        <translation>金額は ￥ やカンマがあってもなくても、全角の数字でも入力できます。金額の前のマイナス（-、－、△、▲）は値引きです。個数には 1.5日 のような小数も使え、価格は1円単位に丸められます。合計を追加すると、クリックしていない行の価格も計算され、前の合計は置き換わるので、どの明細も一度だけ数えられます。そのあとは表を変えるたびに、同じ取り消しの単位で合計も計算し直され、追加した行は合計の上に入ります。御請求金額に入れたあとで合計が変わると、御請求金額の青い枠が戻り、書き出しの前に金額を更新するかを尋ねます。</translation>
    </message>
    <message>
        <source>Rows from a spreadsheet or a CSV file</source>
        <translation>表計算ソフト・CSVファイルからの行</translation>
    </message>
    <message>
        <source>Copy cells in LibreOffice Calc, Excel or a web spreadsheet, open the item table and press Ctrl+V (or choose Edit ▸ Paste Rows): each line becomes a row after the current row (after the last item when no row is chosen), as one step that Undo takes back. The columns are taken by name when the first line names them (日付, 品名, 単価, 数量, 金額 …), otherwise by what they hold (dates, the description, unit price × quantity = price); when that leaves a doubt, Seikyu asks as it does for a file. Amounts are read as you type them, and a row with a unit price and a quantity but no price is priced. Text without tabs goes into the current cell. File ▸ Import Rows… reads a CSV file in UTF-8 or Shift_JIS (as Japanese Excel saves it), shows its first lines, lets you choose the table column of each of its columns, adds the rows after the items and says which lines it skipped and why.</source>
        <translation>LibreOffice Calc、Excel、Web の表計算でセルをコピーし、明細を開いて Ctrl+V を押すと（または 編集 ▸ 行として貼り付け）、各行が現在の行の後（行を選んでいなければ最後の項目の後）に追加されます。1つの操作として「元に戻す」で取り消せます。1行目が列の見出し（日付・品名・単価・数量・金額 …）なら見出しで列を決め、見出しがなければ内容（日付、項目、単価 × 個数 = 価格）で決めます。それでも決まらないときは、ファイルと同じように列を尋ねます。金額は入力と同じように読み、単価と個数があって価格のない行は価格を計算します。タブを含まない文字は現在のセルに入ります。ファイル ▸ 行を読み込む… は UTF-8 または（日本語版 Excel が保存する）Shift_JIS の CSV ファイルを読み込み、最初の行を表示して各列を入れる表の列を選ばせ、行を項目の後に追加し、読み飛ばした行とその理由を知らせます。</translation>
    </message>
    <message>
        <source>e-Invoice (JP PINT)</source>
        <translation>デジタルインボイス（JP PINT）</translation>
    </message>
    <message>
        <source>File &gt; Export e-Invoice (JP PINT) writes the invoice as Japan&apos;s standard e-invoice, an XML file the customer&apos;s accounting system reads without retyping. It needs an invoice number, your registration number, a table that ends with its sums, and the customer&apos;s electronic address: type it in the Customer panel as 0188: and the corporate number (法人番号) or 0221: and the registration number; it is kept with the customer. Every amount, rate and tax is the page&apos;s own; prices that include the tax are stated without it, adding up to the same totals. With withholding, the e-invoice asks for 合計 and states the withheld tax and 差引請求額 in its note. With File &gt; Attach the e-Invoice (PDF/A-3) ticked, Export as PDF writes a PDF/A-3 that looks the same and carries the XML inside.</source>
        <translation>「ファイル &gt; デジタルインボイスを書き出す（JP PINT）」で、請求書を日本の標準デジタルインボイスとして書き出します。取引先の会計システムが入力し直さずに取り込める XML ファイルです。請求書番号、自分の登録番号、合計を追加した明細表、取引先の電子アドレスが必要です。電子アドレスは取引先パネルで 0188: と法人番号、または 0221: と登録番号を入力します。取引先と一緒に保存されます。金額・税率・消費税はすべて請求書の表示どおりで、税込価格は税抜きで記載され、合計は同じになります。源泉徴収があるときは請求額を合計とし、源泉徴収税と差引請求額を備考に記載します。「ファイル &gt; デジタルインボイスを添付（PDF/A-3）」にチェックを付けると、PDFの書き出しで、見た目が同じで XML を含む PDF/A-3 を書き出します。</translation>
    </message>
    <message>
        <source>Issued invoices (the ledger)</source>
        <translation>発行済み請求書（台帳）</translation>
    </message>
    <message>
        <source>Every invoice you export as PDF, print, or export with seikyu --export-pdf is recorded in the ledger of issued invoices: when and how it was issued, its title, number, date, customer, your registration number, the amount asked for, each rate&apos;s total and tax, the withholding, the due date and the invoice file. A copy of each PDF is kept in the archive folder beside the ledger, named date_customer_amount_number.pdf, with its SHA-256 hash. Window &gt; Issued Invoices (Ctrl+Shift+I) lists them, newest first. Search by a date range, an amount range, part of the customer&apos;s name (full-width and half-width letters alike), the number and the status; the conditions combine, any column sorts, and the line under the table totals the amount and what is still owed. Record Payment adds a payment (partial payments add up); Void marks a mistaken entry with your reason. Download CSV saves what is shown, for the tax office or a spreadsheet; seikyu --ledger prints the same from the command line.</source>
        <translation>PDFに書き出した請求書、印刷した請求書、seikyu --export-pdf で書き出した請求書は、すべて発行済み請求書の台帳に記録されます。記録するのは、発行日時と発行方法、表題、請求書番号、日付、取引先、登録番号、請求金額、税率ごとの対価の額と消費税額、源泉徴収税、支払期限、請求書ファイルです。PDFは、台帳の隣の保存フォルダに「日付_取引先_金額_番号.pdf」という名前で、SHA-256ハッシュ値とともに写しを保存します。ウインドウ＞発行済み請求書（Ctrl+Shift+I）で新しい順に一覧できます。日付の範囲、金額の範囲、取引先名の一部（全角・半角を区別しません）、番号、状態で検索でき、条件は組み合わせられます。どの列でも並べ替えられ、表の下に金額と未入金額の合計を表示します。「入金を記録」で入金を記録し（一部入金は合算されます）、「取消」で誤った記録に理由を付けて取り消します。「CSVをダウンロード」で表示中の記録を税務署や表計算ソフト向けに保存でき、コマンドラインでは seikyu --ledger で同じ内容を出力できます。</translation>
    </message>
    <message>
        <source>Nothing in the ledger is ever changed or deleted: a correction is a new entry, and the database refuses changes. Each entry carries a hash over everything stored with it and over the entry before it, and each computer keeps the newest entry it recorded or saw in ledger-anchor.json beside the archive folder. So Verify Ledger (also seikyu --ledger --verify) reports any entry or archived PDF changed outside Seikyu, and, as long as this computer&apos;s anchor file is kept, deleted newest entries, an older copy of the ledger put back, and hashes recomputed after a change; on a shared ledger, every computer that saw the later entries reports it. Verify Ledger also shows the ledger&apos;s fingerprint (its newest entry and the start of its hash): note it at each monthly closing, so that the entries up to it can be checked later. Not detected: someone who can write the database and also replaces this computer&apos;s anchor file, when no other computer saw the ledger and no fingerprint was noted; and entries added with correct hashes after the last anchor or noted fingerprint by someone who can write the database. The ledger is evidence, not a certification. This answers the search and download requirements for invoices kept as data (電子帳簿保存法), but the ledger carries no certified timestamp: keep rules for preventing corrections and deletions (事務処理規程). Record-Keeping Rules in the Issued Invoices window gives a ready template filled in from your details. The ledger lives in your data folder (~/.local/share/Seikyu/Seikyu); keep it and its archive folder for seven years, and back them up.</source>
        <translation>台帳の記録は変更も削除もされません。訂正は新しい記録として追加され、データベースも変更を受け付けません。各記録は、記録したすべての内容と直前の記録にわたるハッシュ値を持ち、各コンピューターは自分が記録した、または見た最新の記録を保存フォルダの隣の ledger-anchor.json に控えます。そのため「台帳を検証」（seikyu --ledger --verify でも可）は、Seikyuの外で変更された記録や保存PDFを報告し、このコンピューターの控えのファイルが残っている限り、最新の記録の削除、台帳の古い写しへの差し替え、変更後のハッシュ値の計算し直しも報告します。共有の台帳では、後の記録を見たすべてのコンピューターが報告します。「台帳を検証」は台帳のフィンガープリント（最新の記録とそのハッシュ値の先頭）も表示します。毎月の締めに控えておけば、そこまでの記録を後で確かめられます。検出できないもの：データベースに書き込める人が、このコンピューターの控えのファイルも差し替えた場合（ほかのコンピューターがその台帳を見ておらず、フィンガープリントも控えていないとき）と、データベースに書き込める人が、最後の控えや控えたフィンガープリントより後に正しいハッシュ値で追加した記録です。台帳は証拠であり、認証ではありません。これにより電子帳簿保存法の検索要件とダウンロードの求めに応じられますが、台帳には認定タイムスタンプが付かないため、訂正削除の防止に関する事務処理規程を定めて運用してください。発行済み請求書ウインドウの「事務処理規程」で、あなたの情報を記入済みのひな形を用意できます。台帳はデータフォルダ（~/.local/share/Seikyu/Seikyu）にあります。台帳と保存フォルダは7年間保存し、バックアップしてください。</translation>
    </message>
    <message>
        <source>A ledger shared by the office</source>
        <translation>事務所で共有する台帳</translation>
    </message>
    <message>
        <source>When several people issue invoices, Edit ▸ Preferences ▸ Ledger can put the ledger on the office&apos;s PostgreSQL server: choose &quot;Shared server (PostgreSQL)&quot; and give a libpq connection string or URI, such as host=db.office dbname=seikyu user=taro or postgresql://taro@db.office/seikyu. Seikyu never stores a password: put it in PostgreSQL&apos;s password file (~/.pgpass) or service file (~/.pg_service.conf). Test Connection says what is wrong: no server, a refused password, no such database, a database that is not a Seikyu ledger, or one set up by a newer Seikyu. Seikyu sets up an empty database itself. Copy My Local Ledger to the Server brings your earlier entries over; running it again copies nothing twice. Everyone then sees the whole office&apos;s invoices and who issued each. When the server does not answer, Seikyu does not wait for it: exports and prints still work, their entries wait on your computer and are sent as soon as the server answers again (the Issued Invoices window says how many wait). Payments and voids need the server, as they are recorded against what it holds. An entry the server refuses when it arrives is kept aside on your computer, neither lost nor sent again, and the Issued Invoices window lists it, so you can record it again if it still applies. Each computer keeps the PDFs it issued in its own archive, so Verify Ledger checks every entry, but the archived PDFs only of the invoices issued on this computer, and says how many others are kept on the computers that issued them. The environment variable SEIKYU_LEDGER, set to a URI, chooses the server for scripts and the command line.</source>
        <translation>複数の人が請求書を発行するときは、編集 ▸ 環境設定 ▸ 台帳 で台帳を事務所の PostgreSQL サーバーに置けます。「共有サーバー（PostgreSQL）」を選び、host=db.office dbname=seikyu user=taro や postgresql://taro@db.office/seikyu のような libpq の接続文字列または URI を入力します。Seikyu はパスワードを保存しません。PostgreSQL のパスワードファイル（~/.pgpass）またはサービスファイル（~/.pg_service.conf）に書いてください。「接続をテスト」は、サーバーがない、パスワードが拒否された、データベースがない、Seikyu の台帳ではないデータベース、新しい Seikyu が用意したデータベース、のどれかを知らせます。空のデータベースには Seikyu が台帳を用意します。「このコンピューターの台帳をサーバーへコピー」でこれまでの記録を移せます。もう一度実行しても二重にはコピーされません。以後は事務所全員の請求書と、それぞれを誰が発行したかが見えます。サーバーが応答しないときも Seikyu はサーバーを待ちません。PDF の書き出しと印刷はそのままでき、その記録はこのコンピューターで待機して、サーバーが再び応答するとすぐに送られます（発行済み請求書ウインドウに待機中の件数が出ます）。入金と取消は、サーバーにある記録に対して行うため、サーバーが必要です。送った記録をサーバーが受け付けなかったときは、その記録をこのコンピューターに別に保管し（失われることも、再び送られることもありません）、発行済み請求書ウインドウに表示します。今も必要なら、もう一度記録してください。保存PDFは、発行したコンピューターがそれぞれ自分の保存フォルダに保管します。そのため「台帳を検証」はすべての記録を確認しますが、保存PDFはこのコンピューターで発行した請求書の分だけを確認し、ほかのコンピューターに保管されている件数を示します。環境変数 SEIKYU_LEDGER に URI を設定すると、スクリプトやコマンドラインで使うサーバーを指定できます。</translation>
    </message>
    <message>
        <source>A damaged ledger</source>
        <translation>台帳が破損したとき</translation>
    </message>
    <message>
        <source>A disk fault, a crash or another program can damage the ledger&apos;s file. Seikyu never replaces or moves a damaged ledger by itself: the Issued Invoices window and seikyu --ledger only read it, and recording into it fails, naming the file, so nothing is hidden. Verify Ledger runs SQLite&apos;s own check of the file and of its write-ahead log, and names a damaged file, a ledger set aside earlier (ledger.sqlite.damaged-…) and any archived PDF no entry names. Recover… in the Issued Invoices window (Window &gt; Recover Ledger…, or seikyu --ledger --recover FILE) reads what can still be read of a damaged ledger, entry by entry, takes each entry whose hash chain holds, with its own date and time, and names those it could not read or trust; running it again takes nothing twice. Choosing the ledger itself sets it aside beside the new one first. Keep the file set aside somewhere safe outside the ledger&apos;s folder once its entries are back.</source>
        <translation>ディスクの故障、異常終了、ほかのプログラムによって台帳のファイルが破損することがあります。Seikyu が破損した台帳を勝手に置き換えたり移動したりすることはありません。発行済み請求書ウインドウと seikyu --ledger は台帳を読むだけで、破損した台帳への記録はファイル名を示して失敗するため、何も隠れません。「台帳を検証」は SQLite 自身によるファイルと先行書き込みログ（WAL）の検査を行い、破損したファイル、以前に退避された台帳（ledger.sqlite.damaged-…）、どの記録にも属さない保存PDFを示します。発行済み請求書ウインドウの「復旧…」（ウインドウ &gt; 台帳を復旧…、または seikyu --ledger --recover FILE）は、破損した台帳からまだ読み取れる記録を1件ずつ読み、ハッシュの連鎖が成り立つ記録を元の日時のまま取り込み、読み取れなかった記録や確かめられなかった記録を示します。もう一度実行しても二重には取り込みません。この台帳自体を選ぶと、まず新しい台帳の隣に退避します。記録を取り戻したら、退避したファイルは台帳のフォルダーの外の安全な場所に保管してください。</translation>
    </message>
    <message>
        <source>A column headed 税率, 軽減, 税区分 or ※ gives each row its tax class: 8 %, 軽減 or ※ the reduced rate, 10 % the standard rate, 非課税 or 対象外 no tax. Without one every row is at the invoice&apos;s rate; mark the reduced rows afterwards with Ctrl+R. A row whose quantity or unit price is no number, or whose price is not unit price × quantity, is shown with the reason before it goes in: take such rows as written or leave them out. Columns that go nowhere are named.</source>
        <translation>税率、軽減、税区分、※ のいずれかを見出しとする列があれば、各行の税区分になります。8 %、軽減、※ は軽減税率、10 % は標準税率、非課税と対象外は課税なしです。この列がなければすべての行が請求書の税率になります。軽減税率の行は後から Ctrl+R で設定してください。個数や単価が数値でない行、価格が単価 × 個数と一致しない行は、取り込む前に理由とともに示されます。そのまま取り込むか、除くかを選べます。行き先のない列は名前で示されます。</translation>
    </message>
    <message>
        <source>Click a receipt&apos;s stamp region, at the right above your details, to say whether it is handed over on paper or sent electronically. On paper, a receipt of ¥50,000 or more, without the tax it states, needs a revenue stamp (収入印紙): the page says how much and leaves a box for it. A receipt sent electronically needs none. If the money you receive is outside business (営業に関しない), say so in Edit ▸ Preferences: such receipts need no stamp.</source>
        <translation>領収書を紙で渡すか電子で送るかは、自社情報の上、右側にある印紙の欄をクリックして選びます。紙で渡す領収書は、記載した消費税を除いて5万円以上なら収入印紙が要ります。ページに印紙税額を示し、貼る枠を設けます。電子で送る領収書には要りません。受け取る金銭が営業に関しないものなら、編集 ▸ 環境設定でそう設定してください。その領収書に印紙は要りません。</translation>
    </message>
    <message>
        <source>The monthly invoice (合計請求書)</source>
        <translation>合計請求書</translation>
    </message>
    <message>
        <source>File ▸ Make Monthly Invoice… bills a customer&apos;s delivery slips of a closing period on one invoice. Give the customer and the period (the one their closing day last ended, from the customer book); the invoice lists each slip recorded in the ledger for that period and not billed yet, with its items or as one line, works out each rate&apos;s tax once over the whole period, and carries the balance: 前回御請求額 (what was owed when the previous monthly invoice was issued), 御入金額 (paid since) and 繰越金額. 御請求金額 is the balance carried with the period&apos;s total, and the remarks state all six figures.</source>
        <translation>ファイル ▸ 合計請求書を作成… は、締め期間の顧客の納品書を一枚の請求書で請求します。顧客と期間（はじめは顧客台帳の締め日で最後に締まった期間）を指定すると、その期間に台帳に記録され、まだ請求していない納品書を、明細ごとまたは一行にまとめて並べ、税率ごとの消費税を期間全体で一度だけ計算し、前回御請求額（前回の合計請求書を発行したときの未払い額）・御入金額（その後の入金）・繰越金額を繰り越します。御請求金額は繰越金額と今回の合計で、六つの金額は備考に書かれます。</translation>
    </message>
    <message>
        <source>Once issued, its slips are billed and no later monthly invoice lists them again; the ledger owes the period&apos;s total, as the carried balance is still owed on the invoices that billed it. Void it in Issued Invoices to make it again. From a script: seikyu --monthly-invoice OUT.seikyu --customer NAME --period 2026-11-01..2026-11-30.</source>
        <translation>発行すると載せた納品書は請求済みになり、以後の合計請求書には載りません。台帳にはその期間の合計だけが請求額として記録されます（繰越分は元の請求書で請求済みです）。作り直すときは発行済み請求書で取り消してください。スクリプトからは seikyu --monthly-invoice 出力.seikyu --customer 顧客名 --period 2026-11-01..2026-11-30 で作れます。</translation>
    </message>
    <message>
        <source>Quotations (見積書)</source>
        <translation>見積書</translation>
    </message>
    <message>
        <source>A quotation shows 御見積金額, 見積番号 and how long it is valid (有効期限) where an invoice shows its due date; 納期, 納入場所 and 支払条件 go in its remarks. File ▸ Make Delivery Slip, Make Invoice and Make Receipt open the next document of a sale in a new window: the customer, the rows with their rates and sums and the amount come along, the date is today&apos;s and the number is the next of the kind&apos;s own sequence (Q for quotations, D for delivery slips, R for receipts, each counted apart from your invoices). Each kind chooses its title from a list of its own.</source>
        <translation>見積書は、請求書が支払期限を示すところに御見積金額、見積番号と有効期限を示します。納期、納入場所、支払条件は備考に書きます。ファイル ▸ 納品書を作成・請求書を作成・領収書を作成で、取引の次の書類を新しいウインドウで開きます。取引先、税率と合計を含む明細の行、金額を引き継ぎ、日付は今日、番号はその書類の種類ごとの連番の次になります（見積書は Q、納品書は D、領収書は R で始まり、請求書とは別に数えます）。表題は書類の種類ごとに別の一覧から選びます。</translation>
    </message>
    <message>
        <source>Delivery slips (納品書)</source>
        <translation>納品書</translation>
    </message>
    <message>
        <source>A delivery slip says 下記の通り納品いたしました under its amount. Click that line to leave its prices off the paper (items and quantities only): the file and the ledger keep every price, and the monthly invoice bills them. A delivery slip is recorded in the ledger, but nothing is owed on it.</source>
        <translation>納品書は金額の下に「下記の通り納品いたしました」と記します。その行をクリックすると、金額を載せない（品目と数量だけの）納品書にできます。ファイルと台帳にはすべての金額が残り、合計請求書はそれを請求します。納品書は台帳に記録されますが、売掛金にはなりません。</translation>
    </message>
    <message>
        <source>Receipts (領収書)</source>
        <translation>領収書</translation>
    </message>
    <message>
        <source>A receipt says 上記正に領収いたしました, with its 但し書き under the table. The receipt of a paid invoice (File ▸ Make Receipt, or Make Receipt in Window ▸ Issued Invoices) is dated the day it was paid and tied to that payment in the ledger. For a payment of part of the invoice it states the part received, with the tax within it at the invoice&apos;s rate.</source>
        <translation>領収書は「上記正に領収いたしました」と記し、明細の下に但し書きを置きます。入金のあった請求書の領収書（ファイル ▸ 領収書を作成、またはウインドウ ▸ 発行済み請求書の「領収書を作成」）は、入金日の日付で作られ、台帳でその入金と結び付けられます。請求書の一部の入金なら、受け取った額と、請求書の税率でその内の消費税を示します。</translation>
    </message>
</context>
<context>
    <name>InvoiceFile</name>
    <message>
        <source>The file is empty.</source>
        <translation>ファイルが空です。</translation>
    </message>
    <message>
        <source>The file ends too early, as if it had been cut off while it was copied or saved.</source>
        <translation>ファイルが途中で終わっています。コピーや保存の途中で切れてしまったようです。</translation>
    </message>
    <message>
        <source>The file holds bytes that are not text, as a picture or a program does.</source>
        <translation>ファイルに文字ではないデータが含まれています。画像やプログラムのファイルのようです。</translation>
    </message>
    <message>
        <source>The file is built far more deeply than an invoice ever is.</source>
        <translation>ファイルの構造が請求書としてはあり得ないほど深く入り組んでいます。</translation>
    </message>
    <message>
        <source>The file holds something other than an invoice, or something in it has been damaged.</source>
        <translation>ファイルの中身が請求書ではないか、どこかが壊れています。</translation>
    </message>
    <message>
        <source>The file holds data of another kind, not an invoice.</source>
        <translation>ファイルには請求書ではない別の種類のデータが入っています。</translation>
    </message>
    <message>
        <source>The file&apos;s item table is damaged: it is not a list of rows.</source>
        <translation>ファイルの明細表が壊れています。行の並びになっていません。</translation>
    </message>
    <message>
        <source>The file&apos;s item table is damaged at row %1.</source>
        <translation>ファイルの明細表の %1 行目が壊れています。</translation>
    </message>
    <message>
        <source>The file is no longer there: it may have been moved, renamed or deleted.</source>
        <translation>ファイルが見つかりません。移動したか、名前を変えたか、削除された可能性があります。</translation>
    </message>
    <message>
        <source>It is a folder, not a file.</source>
        <translation>ファイルではなくフォルダです。</translation>
    </message>
    <message>
        <source>You do not have permission to read it.</source>
        <translation>このファイルを読む権限がありません。</translation>
    </message>
    <message>
        <source>The system refused to read it (%1).</source>
        <translation>システムが読み込みを拒否しました（%1）。</translation>
    </message>
    <message>
        <source>The file is far larger than any invoice (%1 MB or more).</source>
        <translation>ファイルが請求書としては大きすぎます（%1 MB 以上）。</translation>
    </message>
    <message>
        <source>The disk could not read it to the end (%1).</source>
        <translation>ディスクから最後まで読み込めませんでした（%1）。</translation>
    </message>
    <message>
        <source>The file&apos;s member “%1” holds %2, a character that cannot be kept as it is. Remove it from the file to open it.</source>
        <translation>ファイルの項目「%1」に、そのままでは保持できない文字%2があります。開くには、ファイルからその文字を取り除いてください。</translation>
    </message>
    <message>
        <source>an unpaired surrogate (%1)</source>
        <translation>対になっていないサロゲート（%1）</translation>
    </message>
</context>
<context>
    <name>IssueLedger</name>
    <message>
        <source>Looking up the payments in the office&apos;s ledger…</source>
        <translation>事務所の台帳で入金を調べています…</translation>
    </message>
    <message>
        <source>Ledger of issued invoices</source>
        <translation>発行済み請求書の台帳</translation>
    </message>
    <message numerus="yes">
        <source>The ledger of issued invoices now covers every column of its entries: entry %1 seals the %n entries recorded before it.</source>
        <translation>
            <numerusform>発行済み請求書の台帳は、記録のすべての項目を守るようになりました。記録%1が、それより前に記録された %n 件を封印しています。</numerusform>
        </translation>
    </message>
    <message>
        <source>the archive folder cannot be created</source>
        <translation>保存フォルダを作成できません</translation>
    </message>
    <message>
        <source>no free name in the archive</source>
        <translation>保存フォルダに空いているファイル名がありません</translation>
    </message>
    <message>
        <source>This invoice could not be recorded in the ledger of issued invoices (%1). It was issued all the same; Seikyu will not say this again until it is restarted.</source>
        <translation>この請求書を発行済み請求書の台帳に記録できませんでした（%1）。請求書の発行は完了しています。Seikyuを再起動するまで、このお知らせは再表示しません。</translation>
    </message>
    <message>
        <source>The ledger&apos;s server does not answer. This invoice waits on this computer and is sent to the ledger when the server answers again; nothing is lost if Seikyu is closed.</source>
        <translation>台帳のサーバーが応答しません。この請求書はこのコンピューターで待機し、サーバーが再び応答したときに台帳へ送られます。Seikyu を終了しても失われません。</translation>
    </message>
    <message>
        <source>the ledger “%1” is damaged (%2); it was left as it is. Verify Ledger says what is wrong, and Recover… sets it aside and brings its readable entries into a new ledger</source>
        <translation>台帳「%1」は破損しています（%2）。そのままにしてあります。「台帳を検証」で問題を確認でき、「復旧…」で退避して、読み取れる記録を新しい台帳に取り戻せます</translation>
    </message>
    <message>
        <source>the ledger “%1” is not damaged: there is nothing to recover</source>
        <translation>台帳「%1」は破損していません。復旧するものはありません</translation>
    </message>
    <message>
        <source>the damaged ledger “%1” could not be set aside</source>
        <translation>破損した台帳「%1」を退避できませんでした</translation>
    </message>
    <message>
        <source>there is no file “%1”</source>
        <translation>ファイル「%1」がありません</translation>
    </message>
    <message>
        <source>This invoice could not be recorded in the ledger of issued invoices now (%1). It waits on this computer and is recorded the next time Seikyu records an invoice or starts; nothing is lost if Seikyu is closed.</source>
        <translation>この請求書を今は発行済み請求書の台帳に記録できませんでした（%1）。請求書はこのコンピューターで待機し、次に Seikyu が請求書を記録するときか起動したときに記録されます。Seikyu を終了しても失われません。</translation>
    </message>
    <message>
        <source>This printed invoice</source>
        <translation>この印刷した請求書</translation>
    </message>
    <message>
        <source>%1 was issued, but it could be neither recorded in the ledger of issued invoices nor kept to be recorded later (%2).</source>
        <translation>%1 は発行されましたが、発行済み請求書の台帳に記録することも、後で記録するために保管することもできませんでした（%2）。</translation>
    </message>
    <message>
        <source>The ledger&apos;s server cannot take this invoice now: %1 The invoice waits on this computer and is sent to the ledger once that is put right; nothing is lost if Seikyu is closed.</source>
        <translation>台帳のサーバーは今この請求書を受け付けられません: %1 請求書はこのコンピューターで待機し、問題が解決すると台帳に送られます。Seikyu を閉じても失われません。</translation>
    </message>
    <message>
        <source>No. %1 is another invoice&apos;s number.</source>
        <translation>No. %1 は別の請求書の番号です。</translation>
    </message>
    <message>
        <source>Take a new number for this invoice, or issue it as the correction of that invoice (a reissue, which replaces it in the ledger)?</source>
        <translation>この請求書に新しい番号を付けますか。それとも、その請求書の訂正（台帳でその請求書に代わる再発行）として発行しますか。</translation>
    </message>
    <message>
        <source>Take a New Number</source>
        <translation>新しい番号を付ける</translation>
    </message>
    <message>
        <source>Issue as a Correction</source>
        <translation>訂正として発行</translation>
    </message>
    <message>
        <source>No number can be taken now.</source>
        <translation>いま番号を取ることができません。</translation>
    </message>
    <message>
        <source>The invoice was not issued.</source>
        <translation>請求書は発行されませんでした。</translation>
    </message>
    <message>
        <source>the shared ledger is reached on the server&apos;s thread</source>
        <translation>共有台帳はサーバー用のスレッドで扱われます</translation>
    </message>
    <message>
        <source>Recovering entries into the office&apos;s ledger…</source>
        <translation>事務所の台帳にエントリを復元しています…</translation>
    </message>
    <message>
        <source>Recording the invoice in the office&apos;s ledger…</source>
        <translation>事務所の台帳に請求書を記録しています…</translation>
    </message>
    <message>
        <source>Looking up the number in the office&apos;s ledger…</source>
        <translation>事務所の台帳で番号を調べています…</translation>
    </message>
    <message>
        <source>Verifying the office&apos;s ledger…</source>
        <translation>事務所の台帳を検証しています…</translation>
    </message>
    <message>
        <source>The ledger already holds the monthly invoice No. %1 for part of this period: this one would bill the same deliveries again. Void No. %1 in Issued Invoices first to issue this one.</source>
        <translation>この期間の一部には、合計請求書 No. %1 がすでに台帳にあります。このまま発行すると同じ納品をもう一度請求します。発行するには、先に発行済み請求書で No. %1 を取り消してください。</translation>
    </message>
</context>
<context>
    <name>Ledger</name>
    <message>
        <source>Not billed</source>
        <translation>請求対象外</translation>
    </message>
    <message>
        <source>Quotation</source>
        <translation>見積書</translation>
    </message>
    <message>
        <source>Delivery slip</source>
        <translation>納品書</translation>
    </message>
    <message>
        <source>Receipt</source>
        <translation>領収書</translation>
    </message>
    <message>
        <source>Invoice</source>
        <translation>請求書</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>種類</translation>
    </message>
    <message>
        <source>%1 was changed after it was recorded.</source>
        <translation>%1は、記録後に変更されています。</translation>
    </message>
    <message>
        <source>Entries before entry %1 were removed or rewritten.</source>
        <translation>記録%1より前の記録が削除または書き換えられています。</translation>
    </message>
    <message>
        <source>The ledger&apos;s fingerprint (its newest entry; note it at each closing): %1</source>
        <translation>台帳のフィンガープリント（最新の記録。締めのたびに控えてください）：%1</translation>
    </message>
    <message>
        <source>An entry before entry %1 was changed in a column that only that entry&apos;s seal covers (who issued it, where it came from, the invoice it belongs to or the customer as searched).</source>
        <translation>記録%1より前の記録のうち、記録%1の封印だけが守る項目（発行者、由来、属する請求書、検索用の取引先名）が変更されています。</translation>
    </message>
    <message>
        <source>Entry %1 (%2), the newest this computer had seen, is no longer in the ledger: the newest entries were deleted, or an older copy of the ledger was put back.</source>
        <translation>このコンピューターが見た最新の記録%1（%2）が台帳にありません。最新の記録が削除されたか、台帳が古い写しに差し替えられています。</translation>
    </message>
    <message>
        <source>Entry %1 is not the one this computer had seen (%2): the chain was recomputed after entries were changed, or an older copy of the ledger was put back and written on.</source>
        <translation>記録%1は、このコンピューターが見たもの（%2）と異なります。記録を変更したうえでハッシュ値が計算し直されたか、台帳が古い写しに差し替えられた後に記録が追加されています。</translation>
    </message>
    <message>
        <source>This is not the ledger this computer last saw here (its newest entry was %1): the ledger was replaced by another one, or its identity was changed.</source>
        <translation>この台帳は、このコンピューターがここで最後に見た台帳（最新の記録は%1）ではありません。別の台帳に差し替えられたか、台帳の識別子が変更されています。</translation>
    </message>
    <message>
        <source>This computer&apos;s record of the newest entry it saw (%1) cannot be read, so deleted newest entries or an older copy put back would go unnoticed.</source>
        <translation>このコンピューターが見た最新の記録の控え（%1）を読み取れません。このままでは、最新の記録の削除や古い写しへの差し替えに気付けません。</translation>
    </message>
    <message>
        <source>The archived PDF “%1” of %2 is not the one sent.</source>
        <translation>%2の保存PDF「%1」は、発行したものと異なります。</translation>
    </message>
    <message>
        <source>The archived PDF “%1” of %2 is missing.</source>
        <translation>%2の保存PDF「%1」が見つかりません。</translation>
    </message>
    <message>
        <source>Entry</source>
        <translation>記録番号</translation>
    </message>
    <message>
        <source>Invoice date</source>
        <translation>取引年月日</translation>
    </message>
    <message>
        <source>Number</source>
        <translation>請求書番号</translation>
    </message>
    <message>
        <source>Customer</source>
        <translation>取引先</translation>
    </message>
    <message>
        <source>Honorific</source>
        <translation>敬称</translation>
    </message>
    <message>
        <source>Amount</source>
        <translation>取引金額</translation>
    </message>
    <message>
        <source>Withholding</source>
        <translation>源泉徴収税</translation>
    </message>
    <message>
        <source>Due date</source>
        <translation>支払期限</translation>
    </message>
    <message>
        <source>Amount paid</source>
        <translation>入金額</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>状態</translation>
    </message>
    <message>
        <source>Issued at</source>
        <translation>発行日時</translation>
    </message>
    <message>
        <source>Issued by</source>
        <translation>発行方法</translation>
    </message>
    <message>
        <source>Reissue of</source>
        <translation>再発行元</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>表題</translation>
    </message>
    <message>
        <source>Registration number</source>
        <translation>登録番号</translation>
    </message>
    <message>
        <source>Archived PDF</source>
        <translation>保存PDF</translation>
    </message>
    <message>
        <source>SHA-256</source>
        <translation>SHA-256</translation>
    </message>
    <message>
        <source>Source file</source>
        <translation>元ファイル</translation>
    </message>
    <message>
        <source>PDF</source>
        <translation>PDF書き出し</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>印刷</translation>
    </message>
    <message>
        <source>Batch</source>
        <translation>一括書き出し</translation>
    </message>
    <message>
        <source>e-Invoice</source>
        <translation>デジタルインボイス</translation>
    </message>
    <message>
        <source>Unpaid</source>
        <translation>未入金</translation>
    </message>
    <message>
        <source>Partly paid</source>
        <translation>一部入金</translation>
    </message>
    <message>
        <source>Paid</source>
        <translation>入金済</translation>
    </message>
    <message>
        <source>Void</source>
        <translation>取消</translation>
    </message>
    <message numerus="yes">
        <source>%n archived PDF(s) were checked on this computer; %1 more are kept on the computers that issued them and are checked there.</source>
        <translation>
            <numerusform>保存PDF %n 件をこのコンピューターで確認しました。ほかの %1 件は発行したコンピューターに保存されており、そちらで確認されます。</numerusform>
        </translation>
    </message>
    <message>
        <source>What searches showed of %1 had been changed; it was worked out again from the entries.</source>
        <translation>%1の検索用の内容が変更されていたため、記録から作り直しました。</translation>
    </message>
    <message>
        <source>What searches show of %1 was changed outside Seikyu; the entries themselves are as recorded.</source>
        <translation>%1について検索で表示される内容が、Seikyu の外で変更されています。記録そのものは記録されたとおりです。</translation>
    </message>
    <message>
        <source>The ledger file “%1” is damaged (%2). Nothing was changed; Recover… brings its readable entries into a new ledger.</source>
        <translation>台帳ファイル「%1」は破損しています（%2）。何も変更していません。「復旧…」で、読み取れる記録を新しい台帳に取り戻せます。</translation>
    </message>
    <message>
        <source>A damaged ledger was set aside as “%1”; entries it holds may be missing here. Recover… brings its readable entries back; then keep it in a safe place outside this folder.</source>
        <translation>破損した台帳が「%1」として退避されています。その記録がこの台帳にない場合があります。「復旧…」で読み取れる記録を取り戻したうえで、このフォルダーの外の安全な場所に保管してください。</translation>
    </message>
    <message>
        <source>The archived file “%1” belongs to no entry of the ledger.</source>
        <translation>保存ファイル「%1」は、台帳のどの記録にも属していません。</translation>
    </message>
    <message>
        <source>%1, issued again</source>
        <translation>%1、再発行済み</translation>
    </message>
    <message>
        <source>The ledger&apos;s trigger “%1” is missing on the server, so the database no longer guards the ledger as Seikyu set it up; the administrator puts it back with seikyu --ledger-setup.</source>
        <translation>台帳のトリガー「%1」がサーバー上にありません。データベースは Seikyu が用意したとおりに台帳を守っていません。管理者が seikyu --ledger-setup で元に戻します。</translation>
    </message>
    <message>
        <source>The ledger&apos;s trigger “%1” is switched off on the server, so the database no longer guards the ledger as Seikyu set it up; the administrator switches it on again with seikyu --ledger-setup.</source>
        <translation>台帳のトリガー「%1」がサーバー上で無効になっています。データベースは Seikyu が用意したとおりに台帳を守っていません。管理者が seikyu --ledger-setup で有効に戻します。</translation>
    </message>
    <message>
        <source>No. %1 is on two invoices: entry %2 and entry %3. Both are kept and counted; void the mistaken one and issue it again under a new number.</source>
        <translation>No. %1 が二つの請求書に付いています：記録 %2 と記録 %3。どちらも残して集計しています。誤っている方を取り消し、新しい番号で発行し直してください。</translation>
    </message>
    <message>
        <source>%1; No. %2 is also on entry %3</source>
        <translation>%1、No. %2 は記録 %3 にも付いています</translation>
    </message>
    <message>
        <source>Unused: %1</source>
        <translation>未使用：%1</translation>
    </message>
    <message>
        <source>%1 (past due)</source>
        <translation>%1（期限超過）</translation>
    </message>
    <message>
        <source>Entry %1</source>
        <translation>記録%1</translation>
    </message>
    <message>
        <source>entry %1</source>
        <translation>記録%1</translation>
    </message>
    <message>
        <source>No. %1 (%2)</source>
        <translation>請求書 %1（%2）</translation>
    </message>
    <message>
        <source>the invoice of %1 to %2</source>
        <translation>%2宛て %1 付けの請求書</translation>
    </message>
    <message>
        <source>The payment of %1 on %2</source>
        <translation>%2への入金 %1</translation>
    </message>
    <message>
        <source>The monthly invoice No. %1 (entry %2) bills deliveries the monthly invoice of entry %3 bills already: the customer is billed for them twice. Void the mistaken one in Issued Invoices.</source>
        <translation>合計請求書 No. %1（記録 %2）は、記録 %3 の合計請求書がすでに請求している納品を請求しています。取引先に二重に請求されています。発行済み請求書で誤っている方を取り消してください。</translation>
    </message>
</context>
<context>
    <name>LedgerCommandLine</name>
    <message>
        <source>--kind: “%1” is not invoice, quote, delivery or receipt</source>
        <translation>--kind: “%1” は invoice、quote、delivery、receipt のいずれでもありません</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 には値が必要です</translation>
    </message>
    <message>
        <source>%1 takes no value</source>
        <translation>%1 は値を取りません</translation>
    </message>
    <message>
        <source>%1: “%2” is not a date in the form YYYY-MM-DD</source>
        <translation>%1: 「%2」はYYYY-MM-DD形式の日付ではありません</translation>
    </message>
    <message>
        <source>%1: “%2” is not an amount in whole yen</source>
        <translation>%1: 「%2」は円単位の金額ではありません</translation>
    </message>
    <message>
        <source>unexpected argument “%1”</source>
        <translation>想定外の引数「%1」</translation>
    </message>
    <message>
        <source>--from is after --to</source>
        <translation>--from が --to より後の日付です</translation>
    </message>
    <message>
        <source>--min is more than --max</source>
        <translation>--min が --max より大きい金額です</translation>
    </message>
    <message>
        <source>the ledger cannot be read: %1</source>
        <translation>台帳を読み込めません: %1</translation>
    </message>
    <message>
        <source>The ledger is intact: no entry and no archived PDF was changed.</source>
        <translation>台帳に異常はありません。記録も保存PDFも変更されていません。</translation>
    </message>
    <message>
        <source>--recover needs the damaged ledger&apos;s file</source>
        <translation>--recover には破損した台帳のファイルが必要です</translation>
    </message>
    <message>
        <source>unknown option %1 (the ledger takes --from, --to, --customer, --min, --max, --unpaid, --kind, --csv, --verify and --recover)</source>
        <translation>不明なオプション %1（台帳で使えるのは --from、--to、--customer、--min、--max、--unpaid、--kind、--csv、--verify、--recover です）</translation>
    </message>
    <message>
        <source>--recover takes no other option</source>
        <translation>--recover はほかのオプションと併用できません</translation>
    </message>
    <message>
        <source>%1 is given more than once</source>
        <translation>%1が2回以上指定されています</translation>
    </message>
    <message>
        <source>--customer: more than %1 characters, far longer than any name</source>
        <translation>--customer: %1文字を超えています。名前としては長すぎます</translation>
    </message>
    <message>
        <source>--verify checks the whole ledger and takes no other option</source>
        <translation>--verifyは台帳全体を検証するため、ほかのオプションとは併用できません</translation>
    </message>
    <message>
        <source>--ledger-setup takes the administrator&apos;s connection text and the office&apos;s role, and nothing else: seikyu --ledger-setup ADMIN_URI OFFICE_ROLE</source>
        <translation>--ledger-setup には管理者の接続文字列と事務用のロールだけを指定します: seikyu --ledger-setup ADMIN_URI OFFICE_ROLE</translation>
    </message>
    <message>
        <source>%1 belongs after --ledger: seikyu --ledger %1</source>
        <translation>%1 は --ledger の後に付けるオプションです: seikyu --ledger %1</translation>
    </message>
</context>
<context>
    <name>LedgerMenu</name>
    <message>
        <source>&amp;Window</source>
        <translation>ウインドウ(&amp;W)</translation>
    </message>
    <message>
        <source>&amp;Issued Invoices</source>
        <translation>発行済み請求書(&amp;I)</translation>
    </message>
    <message>
        <source>&amp;Verify Ledger</source>
        <translation>台帳を検証(&amp;V)</translation>
    </message>
    <message>
        <source>&amp;Recover Ledger…</source>
        <translation>台帳を復旧(&amp;R)…</translation>
    </message>
    <message>
        <source>&amp;Customers</source>
        <translation>顧客(&amp;C)</translation>
    </message>
</context>
<context>
    <name>LedgerRecovery</name>
    <message>
        <source>Entry %1 acknowledges payment %2, which was not recovered; it was recovered without it.</source>
        <translation>記録%1は、復旧されなかった入金%2を領収しています。入金を参照せずに復旧しました。</translation>
    </message>
    <message>
        <source>Entry %1</source>
        <translation>記録%1</translation>
    </message>
    <message>
        <source>Entries %1–%2</source>
        <translation>記録%1～%2</translation>
    </message>
    <message>
        <source>“%1” cannot be read</source>
        <translation>「%1」を読み取れません</translation>
    </message>
    <message>
        <source>no entries can be read from “%1”</source>
        <translation>「%1」から読み取れる記録がありません</translation>
    </message>
    <message>
        <source>could not be read</source>
        <translation>読み取れませんでした</translation>
    </message>
    <message>
        <source>Entry %1 refers to entry %2, which was not recovered.</source>
        <translation>記録%1は、復旧されなかった記録%2を参照しています。</translation>
    </message>
    <message>
        <source>Entry %1 was not taken: %2</source>
        <translation>記録%1は取り込みませんでした: %2</translation>
    </message>
    <message>
        <source>not taken, the chain does not vouch for it</source>
        <translation>ハッシュの連鎖で確かめられないため、取り込みませんでした</translation>
    </message>
    <message>
        <source>Entries recorded after the damage could not be read: %1.</source>
        <translation>破損箇所より後に記録された記録は読み取れませんでした: %1。</translation>
    </message>
    <message>
        <source>Entries after entry %1 could not be read.</source>
        <translation>記録%1より後の記録は読み取れませんでした。</translation>
    </message>
    <message>
        <source>The damaged ledger was set aside as “%1”; a new ledger was started.</source>
        <translation>破損した台帳を「%1」として退避し、新しい台帳を始めました。</translation>
    </message>
    <message numerus="yes">
        <source>%n entry(s) recovered into the ledger; %1 were in it already.</source>
        <translation>
            <numerusform>%n 件の記録を台帳に復旧しました。%1 件はすでにありました。</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>LedgerSetup</name>
    <message>
        <source>The server&apos;s roles could not be read.</source>
        <translation>サーバーのロールを読み取れませんでした。</translation>
    </message>
    <message>
        <source>There is no role “%1” on the server. Create it first (CREATE ROLE %2 LOGIN PASSWORD &apos;…&apos;), then run the setup again.</source>
        <translation>サーバーにロール「%1」がありません。先に作成してから（CREATE ROLE %2 LOGIN PASSWORD &apos;…&apos;）、もう一度設定してください。</translation>
    </message>
    <message>
        <source>The office role must be another role than the administrator&apos;s (%1): the role that owns the ledger can switch its protection off.</source>
        <translation>事務用のロールは管理者のロール（%1）とは別にしてください。台帳を所有するロールは台帳の保護を外せます。</translation>
    </message>
    <message>
        <source>“%1” is a superuser, which may do anything with the ledger. Give the office a role without superuser rights.</source>
        <translation>「%1」はスーパーユーザーで、台帳に何でもできます。事務所にはスーパーユーザー権限のないロールを使ってください。</translation>
    </message>
    <message>
        <source>“%1” is a member of the administrator&apos;s role %2 and would hold its rights. Give the office a role of its own.</source>
        <translation>「%1」は管理者のロール %2 のメンバーで、その権限を持ちます。事務所には専用のロールを使ってください。</translation>
    </message>
    <message>
        <source>Name the office&apos;s role: the one the office&apos;s computers log in as.</source>
        <translation>事務用のロールを指定してください。事務所のコンピューターがログインに使うロールです。</translation>
    </message>
    <message>
        <source>Connected to %1 as %2.</source>
        <translation>%1 に %2 として接続しました。</translation>
    </message>
    <message>
        <source>The ledger&apos;s tables could not be read.</source>
        <translation>台帳のテーブルを読み取れませんでした。</translation>
    </message>
    <message>
        <source>The ledger&apos;s tables could not be taken over from %1. Connect as a superuser, or as a role that is a member of %1.</source>
        <translation>台帳のテーブルを %1 から引き継げませんでした。スーパーユーザーか、%1 のメンバーであるロールで接続してください。</translation>
    </message>
    <message>
        <source>The ledger&apos;s tables and functions, owned by %1 until now, belong to %2.</source>
        <translation>これまで %1 が所有していた台帳のテーブルと関数は、%2 の所有になりました。</translation>
    </message>
    <message>
        <source>Seikyu could not set up the ledger on the server.</source>
        <translation>Seikyu はサーバーに台帳を用意できませんでした。</translation>
    </message>
    <message>
        <source>Set up the ledger (schema version %1).</source>
        <translation>台帳を用意しました（スキーマのバージョン %1）。</translation>
    </message>
    <message numerus="yes">
        <source>Brought the ledger from schema version %1 to %2; its %n entries and their chain are kept.</source>
        <translation>
            <numerusform>台帳のスキーマをバージョン %1 から %2 にしました。%n 件の記録とそのチェーンはそのままです。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The ledger&apos;s %n entries and their chain are kept as they were.</source>
        <translation>
            <numerusform>台帳の %n 件の記録とそのチェーンはそのままです。</numerusform>
        </translation>
    </message>
    <message>
        <source>The office role&apos;s rights could not be set.</source>
        <translation>事務用のロールの権限を設定できませんでした。</translation>
    </message>
    <message>
        <source>%1 may read the ledger and add entries; it takes numbers, and keeps what searches read, only through functions that run as %2.</source>
        <translation>%1 は台帳の参照と記録の追加ができます。番号の取得と検索用の表の更新は、%2 の権限で動く関数を通してのみ行います。</translation>
    </message>
    <message>
        <source>The office role&apos;s rights could not be read.</source>
        <translation>事務用のロールの権限を読み取れませんでした。</translation>
    </message>
    <message>
        <source>%1 still owns the schema %2 (or the database), so it could drop the ledger&apos;s tables. Give the schema to %3 (ALTER SCHEMA %2 OWNER TO %3, or ALTER DATABASE … OWNER TO %3) and run the setup again.</source>
        <translation>%1 はまだスキーマ %2（またはデータベース）を所有しているため、台帳のテーブルを削除できます。スキーマを %3 の所有にして（ALTER SCHEMA %2 OWNER TO %3、または ALTER DATABASE … OWNER TO %3）、もう一度設定してください。</translation>
    </message>
    <message>
        <source>%1 can no longer change, delete or empty entries, drop the ledger&apos;s tables or switch off their triggers.</source>
        <translation>%1 は記録の変更・削除・全消去、台帳のテーブルの削除、トリガーの無効化ができなくなりました。</translation>
    </message>
</context>
<context>
    <name>MainMenu</name>
    <message>
        <source>&amp;Export as PDF…</source>
        <translation>PDFとして書き出す(&amp;E)…</translation>
    </message>
    <message>
        <source>&amp;Print…</source>
        <translation>プリント(&amp;P)…</translation>
    </message>
    <message>
        <source>Pre&amp;ferences…</source>
        <translation>設定(&amp;F)…</translation>
    </message>
    <message>
        <source>%1 Help</source>
        <translation>%1 ヘルプ</translation>
    </message>
    <message>
        <source>Clear Menu</source>
        <translation>メニューを消去</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>ファイル(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>新規(&amp;N)</translation>
    </message>
    <message>
        <source>&amp;Open…</source>
        <translation>開く(&amp;O)…</translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation>最近使ったファイルを開く(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>保存(&amp;S)</translation>
    </message>
    <message>
        <source>Save &amp;As…</source>
        <translation>別名で保存(&amp;A)…</translation>
    </message>
    <message>
        <source>Re&amp;vert to Saved</source>
        <translation>保存した状態に戻す(&amp;V)</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>閉じる(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>終了(&amp;Q)</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>編集(&amp;E)</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>元に戻す</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>やり直す</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>切り取り(&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>コピー(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>貼り付け(&amp;P)</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>すべてを選択(&amp;A)</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>表示(&amp;V)</translation>
    </message>
    <message>
        <source>Zoom &amp;In</source>
        <translation>拡大(&amp;I)</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>縮小(&amp;O)</translation>
    </message>
    <message>
        <source>&amp;Actual Size</source>
        <translation>実際のサイズ(&amp;A)</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>ヘルプ(&amp;H)</translation>
    </message>
    <message>
        <source>&amp;Duplicate…</source>
        <translation>複製(&amp;D)…</translation>
    </message>
    <message>
        <source>Next month&apos;s invoice: a copy of this one, dated a month later</source>
        <translation>来月の請求書：この請求書を1か月後の日付で複製します</translation>
    </message>
    <message>
        <source>Attach the e-Invoice (PDF/A-3)</source>
        <translation>デジタルインボイスを添付（PDF/A-3）</translation>
    </message>
    <message>
        <source>Export as PDF makes a PDF/A-3 with the JP PINT e-invoice inside</source>
        <translation>PDF書き出しで、JP PINT のデジタルインボイスを含む PDF/A-3 を作ります</translation>
    </message>
    <message>
        <source>Export e-Invoice (&amp;JP PINT)…</source>
        <translation>デジタルインボイスを書き出す（JP PINT）(&amp;J)…</translation>
    </message>
    <message>
        <source>&amp;Import Rows…</source>
        <translation>行を読み込む(&amp;I)…</translation>
    </message>
    <message>
        <source>Adds the rows of a CSV file to the table</source>
        <translation>CSVファイルの行を表に追加します</translation>
    </message>
    <message>
        <source>Paste &amp;Rows</source>
        <translation>行として貼り付け(&amp;R)</translation>
    </message>
    <message>
        <source>Adds cells copied from a spreadsheet as rows after the table&apos;s current row</source>
        <translation>表計算ソフトからコピーしたセルを、表の現在の行の後に行として追加します</translation>
    </message>
    <message>
        <source>Print Previe&amp;w…</source>
        <translation>プリントプレビュー(&amp;W)…</translation>
    </message>
    <message>
        <source>&amp;About %1</source>
        <translation>%1 について(&amp;A)</translation>
    </message>
    <message>
        <source>Make De&amp;livery Slip</source>
        <translation>納品書を作成(&amp;L)</translation>
    </message>
    <message>
        <source>Ma&amp;ke Invoice</source>
        <translation>請求書を作成(&amp;K)</translation>
    </message>
    <message>
        <source>Make Receip&amp;t</source>
        <translation>領収書を作成(&amp;T)</translation>
    </message>
    <message>
        <source>Make &amp;Monthly Invoice…</source>
        <translation>合計請求書を作成(&amp;M)…</translation>
    </message>
</context>
<context>
    <name>MonthlyInvoice</name>
    <message>
        <source>The ledger already holds a monthly invoice to %1 for a period that overlaps this one (No. %2 of %3): void it in Issued Invoices first to make it again.</source>
        <translation>%1 宛ての、この期間と重なる合計請求書がすでに台帳にあります（%3 付け No. %2）。作り直すには、先に発行済み請求書で取り消してください。</translation>
    </message>
    <message>
        <source>Nothing to bill to %1 for %2 to %3: the ledger holds no delivery slip of theirs in that period that is not billed yet, and no balance carried.</source>
        <translation>%1 に %2〜%3 の分で請求するものがありません。台帳にはその期間のまだ請求していない納品書も、繰越残高もありません。</translation>
    </message>
    <message numerus="yes">
        <source>%n slip(s) listed as one line per rate, as the ledger recorded them: their files are gone or no longer bill what was issued.</source>
        <translation>
            <numerusform>%n 枚の納品書は、台帳の記録どおり税率ごとに一行で載せました。ファイルがないか、発行したときの金額と違っています。</numerusform>
        </translation>
    </message>
    <message>
        <source>--monthly-invoice does not take %1</source>
        <translation>--monthly-invoice には %1 は使えません</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 には値が必要です</translation>
    </message>
    <message>
        <source>usage: seikyu --monthly-invoice OUT.seikyu --customer NAME --period YYYY-MM-DD..YYYY-MM-DD [--one-line-per-slip]</source>
        <translation>使い方: seikyu --monthly-invoice 出力.seikyu --customer 顧客名 --period YYYY-MM-DD..YYYY-MM-DD [--one-line-per-slip]</translation>
    </message>
    <message>
        <source>--period is two dates, the first not after the second: 2026-11-01..2026-11-30</source>
        <translation>--period には二つの日付を、前の日付が後の日付より後にならないように指定します: 2026-11-01..2026-11-30</translation>
    </message>
    <message numerus="yes">
        <source>%1: %n delivery slip(s), %2 billed.</source>
        <translation>
            <numerusform>%1: 納品書 %n 枚、御請求金額 %2。</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>MonthlyInvoiceDialog</name>
    <message>
        <source>Make Monthly Invoice</source>
        <translation>合計請求書を作成</translation>
    </message>
    <message>
        <source>Each slip&apos;s items</source>
        <translation>納品書ごとの明細</translation>
    </message>
    <message>
        <source>One line per slip</source>
        <translation>納品書ごとに一行</translation>
    </message>
    <message>
        <source>&amp;Customer:</source>
        <translation>顧客(&amp;C):</translation>
    </message>
    <message>
        <source>&amp;From:</source>
        <translation>期間の始め(&amp;F):</translation>
    </message>
    <message>
        <source>&amp;To (closing day):</source>
        <translation>締め日(&amp;T):</translation>
    </message>
    <message>
        <source>List:</source>
        <translation>載せ方:</translation>
    </message>
    <message>
        <source>Make</source>
        <translation>作成</translation>
    </message>
    <message>
        <source>The period ends before it starts.</source>
        <translation>期間の終わりが始めより前です。</translation>
    </message>
    <message>
        <source>Give a closing day on or after the first day.</source>
        <translation>締め日は期間の始めの日以降にしてください。</translation>
    </message>
    <message>
        <source>The monthly invoice could not be made.</source>
        <translation>合計請求書を作れませんでした。</translation>
    </message>
</context>
<context>
    <name>MonthlyStatement</name>
    <message>
        <source>Some of the period&apos;s delivery slips have prices that include their tax and some do not: they cannot be billed on one statement.</source>
        <translation>期間の納品書に税込価格のものと税抜価格のものが混在しているため、1 通の合計請求書にまとめられません。</translation>
    </message>
    <message>
        <source>The statement&apos;s amounts are too large.</source>
        <translation>合計請求書の金額が大きすぎます。</translation>
    </message>
</context>
<context>
    <name>OutputChecks</name>
    <message>
        <source>This invoice may not read as you expect.</source>
        <translation>この請求書は思いどおりに読めないおそれがあります。</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>続ける</translation>
    </message>
    <message>
        <source>御請求金額 shows %1, but the table&apos;s total is %2.</source>
        <translation>御請求金額は %1 ですが、明細表の合計は %2 です。</translation>
    </message>
    <message>
        <source>御請求金額 shows %1, but the table has no total since its items changed.</source>
        <translation>御請求金額は %1 ですが、明細が変わったため明細表に合計がありません。</translation>
    </message>
    <message>
        <source>Update the Amount</source>
        <translation>金額を更新</translation>
    </message>
    <message>
        <source>Keep It as It Is</source>
        <translation>このままにする</translation>
    </message>
    <message>
        <source>The invoice amount differs from the table&apos;s total.</source>
        <translation>御請求金額が明細表の合計と違います。</translation>
    </message>
    <message>
        <source>Update the invoice amount before the invoice goes out?</source>
        <translation>請求書を出す前に御請求金額を更新しますか？</translation>
    </message>
    <message>
        <source>Add the sums to the table again to update the invoice amount.</source>
        <translation>御請求金額を更新するには、明細表に合計を追加し直してください。</translation>
    </message>
    <message>
        <source>The item table has no sums: 小計, 消費税 and 合計 are missing under its items.</source>
        <translation>明細表に合計がありません。明細の下に小計・消費税・合計がありません。</translation>
    </message>
    <message>
        <source>The sums state no total for each rate: remove the sum and add it again.</source>
        <translation>合計に税率ごとの合計がありません。合計を削除して、もう一度追加してください。</translation>
    </message>
    <message>
        <source>A qualified invoice (適格請求書) must state the total and the consumption tax of each rate.</source>
        <translation>適格請求書には、税率ごとの合計と消費税を記載する必要があります。</translation>
    </message>
    <message>
        <source>御請求金額 holds no amount.</source>
        <translation>御請求金額に金額が入っていません。</translation>
    </message>
    <message>
        <source>The customer is not filled in: the invoice is addressed to no one.</source>
        <translation>お客様が入力されていません。宛名のない請求書になります。</translation>
    </message>
    <message>
        <source>Your details are not filled in: the invoice does not say who issues it.</source>
        <translation>自分の情報が入力されていません。発行者のない請求書になります。</translation>
    </message>
    <message>
        <source>The invoice amount is empty.</source>
        <translation>御請求金額が空です。</translation>
    </message>
    <message>
        <source>Fill in the table&apos;s total of %1 before the invoice goes out?</source>
        <translation>請求書を出す前に、表の合計 %1 を御請求金額に入れますか？</translation>
    </message>
    <message>
        <source>Fill In the Amount</source>
        <translation>金額を入れる</translation>
    </message>
    <message>
        <source>Leave It Empty</source>
        <translation>空のままにする</translation>
    </message>
    <message>
        <source>御請求金額 shows %1, but the balance carried and the table&apos;s total come to %2.</source>
        <translation>御請求金額は %1 ですが、繰越金額と表の合計を足すと %2 です。</translation>
    </message>
</context>
<context>
    <name>PagePrinter</name>
    <message>
        <source>Failed</source>
        <translation>失敗しました</translation>
    </message>
    <message>
        <source>The invoice could not be printed.</source>
        <translation>請求書をプリントできませんでした。</translation>
    </message>
</context>
<context>
    <name>PdfA3</name>
    <message>
        <source>The colour profile %1 is missing or damaged (Debian package icc-profiles-free).</source>
        <translation>カラープロファイル %1 が見つからないか壊れています（Debian パッケージ icc-profiles-free）。</translation>
    </message>
    <message>
        <source>The PDF could not be made a PDF/A-3 (%1).</source>
        <translation>PDF を PDF/A-3 にできませんでした（%1）。</translation>
    </message>
</context>
<context>
    <name>PdfExport</name>
    <message>
        <source>Export as PDF</source>
        <translation>PDFとして書き出す</translation>
    </message>
    <message>
        <source>PDF (*.pdf)</source>
        <translation>PDF (*.pdf)</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>失敗しました</translation>
    </message>
    <message>
        <source>Failed writing PDF</source>
        <translation>PDFを書き出せませんでした</translation>
    </message>
    <message>
        <source>“%1” already exists. Do you want to replace it?</source>
        <translation>「%1」はすでにあります。置き換えますか？</translation>
    </message>
    <message>
        <source>The PDF is written to this name, as it has to end in .pdf.</source>
        <translation>PDF の名前は .pdf で終わる必要があるため、この名前で書き出します。</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>置き換える</translation>
    </message>
    <message>
        <source>the page could not be rendered</source>
        <translation>ページを描画できませんでした</translation>
    </message>
</context>
<context>
    <name>PeppolId</name>
    <message>
        <source>A corporate number (0188) has digits only.</source>
        <translation>法人番号（0188）は数字だけです。</translation>
    </message>
    <message>
        <source>A corporate number has 13 digits; %1 so far.</source>
        <translation>法人番号は13桁です。いま %1 桁です。</translation>
    </message>
    <message>
        <source>A corporate number has 13 digits, not %1.</source>
        <translation>法人番号は13桁です（%1 桁ではありません）。</translation>
    </message>
    <message>
        <source>%1 is not a corporate number: its check digit does not match.</source>
        <translation>%1 は法人番号ではありません。チェックデジットが合いません。</translation>
    </message>
    <message>
        <source>A registration number (0221) is T and 13 digits.</source>
        <translation>登録番号（0221）は T と13桁の数字です。</translation>
    </message>
    <message>
        <source>A registration number (0221) is the letter T followed by 13 digits.</source>
        <translation>登録番号（0221）は T に続く13桁の数字です。</translation>
    </message>
    <message>
        <source>A registration number has T and 13 digits; %1 so far.</source>
        <translation>登録番号は T と13桁の数字です。いま %1 桁です。</translation>
    </message>
    <message>
        <source>A registration number has T and 13 digits, not %1.</source>
        <translation>登録番号は T と13桁の数字です（%1 桁ではありません）。</translation>
    </message>
    <message>
        <source>Start with 0188: and the corporate number, or 0221: and the registration number.</source>
        <translation>0188: に続けて法人番号、または 0221: に続けて登録番号を入力してください。</translation>
    </message>
    <message>
        <source>An electronic address is 0188: and a corporate number, or 0221: and a registration number.</source>
        <translation>電子アドレスは 0188: と法人番号、または 0221: と登録番号です。</translation>
    </message>
    <message>
        <source>A corporate number has 13 digits.</source>
        <translation>法人番号は13桁です。</translation>
    </message>
    <message>
        <source>Seikyu knows the schemes 0188 (corporate number) and 0221 (registration number), not %1.</source>
        <translation>Seikyu が扱えるのは 0188（法人番号）と 0221（登録番号）で、%1 は扱えません。</translation>
    </message>
</context>
<context>
    <name>PostgresTarget</name>
    <message>
        <source>“%1” is not a PostgreSQL connection setting.</source>
        <translation>「%1」は PostgreSQL の接続設定ではありません。</translation>
    </message>
    <message>
        <source>The port “%1” is not a number from 1 to 65535.</source>
        <translation>ポート「%1」は 1〜65535 の数ではありません。</translation>
    </message>
    <message>
        <source>“%1” needs a value after “=”.</source>
        <translation>「%1」には「=」の後に値が必要です。</translation>
    </message>
    <message>
        <source>A quoted value is not closed.</source>
        <translation>引用符で囲んだ値が閉じられていません。</translation>
    </message>
    <message>
        <source>An IPv6 address in brackets is not closed.</source>
        <translation>角括弧で囲んだ IPv6 アドレスが閉じられていません。</translation>
    </message>
    <message>
        <source>No server is given.</source>
        <translation>サーバーが指定されていません。</translation>
    </message>
    <message>
        <source>Only postgresql:// addresses lead to a PostgreSQL server.</source>
        <translation>PostgreSQL サーバーには postgresql:// で始まるアドレスだけが使えます。</translation>
    </message>
    <message>
        <source>The value of “%1” cannot hold a semicolon.</source>
        <translation>「%1」の値にセミコロンは使えません。</translation>
    </message>
    <message>
        <source>“%1” is not a value of %2, which takes %3.</source>
        <translation>「%1」は %2 の値として使えません（使える値: %3）。</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Do you want to save the changes made to “%1”?</source>
        <translation>「%1」への変更を保存しますか？</translation>
    </message>
    <message>
        <source>Your changes will be lost if you don’t save them.</source>
        <translation>保存しないと、変更内容は失われます。</translation>
    </message>
    <message>
        <source>Don’t Save</source>
        <translation>保存しない</translation>
    </message>
    <message>
        <source>Duplicate</source>
        <translation>複製</translation>
    </message>
    <message>
        <source>A new invoice with the same customer and items, dated as set below (this one is dated %1). Its due date moves on by as many months as its date; where this one has a number, the copy gets the next number for its date.</source>
        <translation>取引先と明細が同じで、下の日付の新しい請求書を作ります（この請求書の日付は %1）。お支払期限は請求日と同じ月数だけ進み、この請求書に番号があれば、複製にはその日付の次の番号が入ります。</translation>
    </message>
    <message>
        <source>Keep the sums rows and the invoice amount</source>
        <translation>合計の行と御請求金額を残す</translation>
    </message>
    <message>
        <source>Invoice date of the copy:</source>
        <translation>複製の請求日：</translation>
    </message>
    <message>
        <source>Move the rows&apos; dates with the invoice date</source>
        <translation>明細の日付を請求日と一緒に進める</translation>
    </message>
    <message>
        <source>A row dated 4/30 becomes 5/30 when the invoice moves on by one month; the 31st becomes the last day of a shorter month.</source>
        <translation>請求日が1か月進むと、4/30 の明細は 5/30 になります。31日は、短い月ではその月の末日になります。</translation>
    </message>
</context>
<context>
    <name>RowImport</name>
    <message>
        <source>a quotation mark opens a field and is never closed (unbalanced quotes)</source>
        <translation>引用符で始まる欄が閉じられていません（引用符の対応の誤り）</translation>
    </message>
    <message>
        <source>text follows the quotation mark that closes a field (unbalanced quotes)</source>
        <translation>欄を閉じる引用符の後に文字があります（引用符の対応の誤り）</translation>
    </message>
    <message>
        <source>nothing in the columns that are imported</source>
        <translation>読み込む列に値がありません</translation>
    </message>
    <message>
        <source>the quantity “%1” is not a number</source>
        <translation>個数「%1」が数値ではありません</translation>
    </message>
    <message>
        <source>the unit price “%1” is not a number</source>
        <translation>単価「%1」が数値ではありません</translation>
    </message>
    <message>
        <source>the price %1 is not unit price × quantity (%2)</source>
        <translation>価格 %1 が単価 × 個数（%2）と一致しません</translation>
    </message>
    <message>
        <source>too large</source>
        <translation>大きすぎます</translation>
    </message>
    <message>
        <source>the tax class “%1” is not one Seikyu reads (8 %, 10 %, 軽減, ※, 非課税, 対象外)</source>
        <translation>税区分「%1」を読み取れません（8 %、10 %、軽減、※、非課税、対象外のいずれかにしてください）</translation>
    </message>
    <message>
        <source>column %1</source>
        <translation>%1列目</translation>
    </message>
    <message>
        <source>Columns not imported: %1.</source>
        <translation>読み込まない列: %1。</translation>
    </message>
    <message>
        <source>, </source>
        <translation>、</translation>
    </message>
    <message>
        <source>No column gives a tax class, so every row is at the invoice&apos;s rate. To mark rows at the reduced rate (8 %, ※), select them in the Items panel and press Ctrl+R.</source>
        <translation>税区分を示す列がないため、すべての行を請求書の税率としました。軽減税率（8 %、※）の行は、明細パネルで選択して Ctrl+R を押すと設定できます。</translation>
    </message>
    <message>
        <source>The file is empty: it holds no rows.</source>
        <translation>ファイルが空です。行がありません。</translation>
    </message>
    <message>
        <source>No line of the file can be read. Line %1: %2.</source>
        <translation>ファイルのどの行も読み込めません。%1行目: %2。</translation>
    </message>
    <message>
        <source>“%1” is not a file of rows.</source>
        <translation>「%1」は行のファイルではありません。</translation>
    </message>
    <message>
        <source>“%1” is too large to import (%2). Files of rows up to %3 are read.</source>
        <translation>「%1」は大きすぎて読み込めません（%2）。読み込めるのは%3までのファイルです。</translation>
    </message>
    <message>
        <source>“%1” cannot be read: %2</source>
        <translation>「%1」を読めません: %2</translation>
    </message>
    <message>
        <source>“%1” is too large to import. Files of rows up to %2 are read.</source>
        <translation>「%1」は大きすぎて読み込めません。読み込めるのは%2までのファイルです。</translation>
    </message>
    <message>
        <source>The file is not text: it holds bytes that are neither UTF-8 nor Shift_JIS text.</source>
        <translation>テキストファイルではありません。UTF-8でもShift_JISでもないバイトを含んでいます。</translation>
    </message>
    <message>
        <source>UTF-8 with BOM</source>
        <translation>UTF-8（BOM付き）</translation>
    </message>
</context>
<context>
    <name>ServerLedger</name>
    <message>
        <source>Qt&apos;s PostgreSQL driver is not installed (Debian package libqt6sql6-psql).</source>
        <translation>Qt の PostgreSQL ドライバーがインストールされていません（Debian パッケージ libqt6sql6-psql）。</translation>
    </message>
    <message>
        <source>The database is empty; Seikyu will set up the ledger in it.</source>
        <translation>データベースは空です。Seikyu がここに台帳を用意します。</translation>
    </message>
    <message numerus="yes">
        <source>Connected: the ledger holds %n entries.</source>
        <translation>
            <numerusform>接続できました。台帳には %n 件の記録があります。</numerusform>
        </translation>
    </message>
    <message>
        <source>The connection text does not read.</source>
        <translation>接続文字列を読み取れません。</translation>
    </message>
    <message>
        <source>No PostgreSQL server answers at that address. Is the server running, and the name and port right?</source>
        <translation>そのアドレスで応答する PostgreSQL サーバーがありません。サーバーは動いていますか。名前とポートは正しいですか。</translation>
    </message>
    <message>
        <source>The server refuses the user name or password. Check the user, and the password in your PostgreSQL password file (~/.pgpass).</source>
        <translation>サーバーがユーザー名またはパスワードを拒否しました。ユーザーと、PostgreSQL のパスワードファイル（~/.pgpass）のパスワードを確認してください。</translation>
    </message>
    <message>
        <source>The server has no database of that name. Ask the administrator to create it (it may be empty).</source>
        <translation>サーバーにその名前のデータベースがありません。管理者に作成を依頼してください（空でかまいません）。</translation>
    </message>
    <message>
        <source>That database holds other data and is not a Seikyu ledger. Give Seikyu a database of its own.</source>
        <translation>そのデータベースには別のデータがあり、Seikyu の台帳ではありません。Seikyu 専用のデータベースを用意してください。</translation>
    </message>
    <message>
        <source>A newer version of Seikyu set up this ledger. Update Seikyu to use it.</source>
        <translation>この台帳は新しいバージョンの Seikyu が用意したものです。使うには Seikyu を更新してください。</translation>
    </message>
    <message>
        <source>The server could not be used.</source>
        <translation>サーバーを使えませんでした。</translation>
    </message>
    <message>
        <source>The encrypted connection (TLS) to the server could not be made: the server offers none while sslmode asks for it, or its certificate does not check. Check sslmode and the certificate files with the administrator.</source>
        <translation>サーバーとの暗号化接続（TLS）ができませんでした。sslmode が暗号化を求めているのにサーバーが対応していないか、サーバーの証明書を検証できません。sslmode と証明書ファイルを管理者と確認してください。</translation>
    </message>
    <message>
        <source>the table “%1”</source>
        <translation>テーブル「%1」</translation>
    </message>
    <message>
        <source>the function “%1”</source>
        <translation>関数「%1」</translation>
    </message>
    <message>
        <source>the schema “%1”</source>
        <translation>スキーマ「%1」</translation>
    </message>
    <message>
        <source>the sequence “%1”</source>
        <translation>シーケンス「%1」</translation>
    </message>
    <message>
        <source>the database “%1”</source>
        <translation>データベース「%1」</translation>
    </message>
    <message>
        <source>The login Seikyu uses</source>
        <translation>Seikyu が使うログイン</translation>
    </message>
    <message>
        <source>The role “%1”</source>
        <translation>ロール「%1」</translation>
    </message>
    <message>
        <source>%1 lacks a right it needs on the server (permission denied). Ask the server&apos;s administrator to grant it the office&apos;s rights.</source>
        <translation>%1 には、サーバーで必要な権限がありません（permission denied）。サーバーの管理者に事務所用の権限を付与してもらってください。</translation>
    </message>
    <message>
        <source>%1 has no right to use %2 on the server (permission denied). Ask the server&apos;s administrator to grant it the office&apos;s rights.</source>
        <translation>%1 には、サーバーの%2を使う権限がありません（permission denied）。サーバーの管理者に事務所用の権限を付与してもらってください。</translation>
    </message>
    <message>
        <source>Seikyu could not set up the ledger on the server: %1</source>
        <translation>Seikyu はサーバーに台帳を用意できませんでした: %1</translation>
    </message>
</context>
<context>
    <name>SkippedLines</name>
    <message>
        <source>Line %1: %2</source>
        <translation>%1 行目: %2</translation>
    </message>
    <message>
        <source>… and %1 more lines.</source>
        <translation>…ほか %1 行。</translation>
    </message>
</context>
<context>
    <name>UnkeptTexts</name>
    <message>
        <source>This entry holds a character that cannot be kept.</source>
        <translation>この項目には保持できない文字が含まれています。</translation>
    </message>
    <message>
        <source>It holds %1, which an invoice file cannot keep as it is (a pasted text can bring it in unseen). Remove it and try again.</source>
        <translation>請求書ファイルにそのまま保持できない%1が含まれています（貼り付けたテキストには見えないまま含まれることがあります）。取り除いてからやり直してください。</translation>
    </message>
</context>
<context>
    <name>WriteFailure</name>
    <message>
        <source>the folder does not exist</source>
        <translation>フォルダがありません</translation>
    </message>
    <message>
        <source>a folder of that name is in the way</source>
        <translation>同じ名前のフォルダがあります</translation>
    </message>
    <message>
        <source>the disk is read-only</source>
        <translation>ディスクが読み出し専用です</translation>
    </message>
    <message>
        <source>the disk is full</source>
        <translation>ディスクがいっぱいです</translation>
    </message>
    <message>
        <source>permission denied</source>
        <translation>書き込む権限がありません</translation>
    </message>
    <message>
        <source>unknown error</source>
        <translation>不明なエラー</translation>
    </message>
    <message>
        <source>%1 could not be written: %2.</source>
        <translation>%1 に書き込めませんでした: %2。</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Japanese invoices (請求書) as PDF</source>
        <translation>日本式の請求書をPDFで作成します</translation>
    </message>
    <message>
        <source>Export each invoice FILE as a PDF into the folder OUT (OUT/&lt;name&gt;.pdf), without opening a window. With one FILE, OUT may be the PDF&apos;s name.</source>
        <translation>ウインドウを開かずに、請求書ファイル FILE をそれぞれPDFとしてフォルダ OUT に書き出します（OUT/&lt;名前&gt;.pdf）。FILE が1つのときは、OUT にPDFのファイル名を指定することもできます。</translation>
    </message>
    <message>
        <source>Invoice files to open.</source>
        <translation>開く請求書ファイル。</translation>
    </message>
    <message numerus="yes">
        <source>Seikyu recovered %n unsaved invoice(s).</source>
        <translation>
            <numerusform>Seikyu は保存されていなかった請求書を %n 件復元しました。</numerusform>
        </translation>
    </message>
    <message>
        <source>Seikyu did not close properly last time. The invoices you had not saved are open again; save the ones you want to keep.</source>
        <translation>前回、Seikyu は正しく終了しませんでした。保存していなかった請求書をもう一度開いています。残したいものは保存してください。</translation>
    </message>
    <message>
        <source>With --export-pdf: write PDF/A-3 files that carry the JP PINT e-invoice.</source>
        <translation>--export-pdf と一緒に使うと、JP PINT のデジタルインボイスを含む PDF/A-3 を書き出します。</translation>
    </message>
    <message>
        <source>Export each invoice FILE as a JP PINT e-invoice into the folder OUT (OUT/&lt;name&gt;.xml), without opening a window. With one FILE, OUT may be the XML&apos;s name.</source>
        <translation>ウィンドウを開かずに、各請求書 FILE を JP PINT のデジタルインボイスとしてフォルダ OUT に書き出します（OUT/&lt;名前&gt;.xml）。FILE が1つなら、OUT を XML の名前にできます。</translation>
    </message>
    <message>
        <source>Print the ledger of issued invoices, newest first, and exit. Narrowed by --from YYYY-MM-DD, --to YYYY-MM-DD, --customer TEXT, --min YEN, --max YEN, --unpaid and --kind invoice|quote|delivery|receipt; --csv prints CSV, --verify checks the ledger instead; --recover FILE brings the readable entries of a damaged ledger back.</source>
        <translation>発行済み請求書の台帳を新しい順に表示して終了します。--from YYYY-MM-DD、--to YYYY-MM-DD、--customer 文字列、--min 金額、--max 金額、--unpaid、--kind 書類の種類 で絞り込めます。--csv でCSVを出力し、--verify で台帳を検証します。--recover FILE で、破損した台帳の読み取れる記録を取り戻します。</translation>
    </message>
    <message>
        <source>--attach-ubl goes with --export-pdf OUT.</source>
        <translation>--attach-ubl は --export-pdf OUT と一緒に使います。</translation>
    </message>
    <message>
        <source>Set up the shared ledger on its PostgreSQL server, connecting with the administrator&apos;s connection text ADMIN_URI: the tables belong to the administrator&apos;s role, and the office&apos;s role (the next argument) may only read them, add entries and take numbers. Takes an existing ledger over, keeping every entry.</source>
        <translation>管理者の接続文字列 ADMIN_URI で接続し、共有する台帳を PostgreSQL サーバーに用意します。テーブルは管理者のロールの所有となり、事務用のロール（次の引数）には参照、記録の追加、番号の取得だけを許します。既存の台帳はすべての記録を保ったまま引き継ぎます。</translation>
    </message>
    <message>
        <source>With --export-pdf or --export-ubl: an invoice whose number the ledger holds for another invoice is issued as the correction of that invoice. Without it, such a file is not exported.</source>
        <translation>--export-pdf または --export-ubl と共に：台帳で別の請求書が持つ番号の請求書を、その請求書の訂正として発行します。付けなければ、そのファイルは書き出しません。</translation>
    </message>
    <message>
        <source>--reissue goes with --export-pdf OUT or --export-ubl OUT.</source>
        <translation>--reissue は --export-pdf OUT または --export-ubl OUT と共に使います。</translation>
    </message>
    <message>
        <source>Seikyu needs a graphical display, and none was found (DISPLAY and WAYLAND_DISPLAY are not set).
Start it from a desktop session, or under a virtual display: xvfb-run -a seikyu
To turn invoice files into PDFs without a display: seikyu --export-pdf OUT FILE…</source>
        <translation>Seikyu には画面表示が必要ですが、見つかりません（DISPLAY と WAYLAND_DISPLAY が設定されていません）。
デスクトップのセッションから、または仮想ディスプレイで起動してください: xvfb-run -a seikyu
画面なしで請求書ファイルをPDFにするには: seikyu --export-pdf OUT FILE…</translation>
    </message>
    <message>
        <source>Show this help and exit.</source>
        <translation>このヘルプを表示して終了します。</translation>
    </message>
    <message>
        <source>Write the month&apos;s statement (合計請求書) of a customer as the invoice file OUT, from the ledger: --customer NAME --period YYYY-MM-DD..YYYY-MM-DD, with --one-line-per-slip to list each delivery slip as one line.</source>
        <translation>顧客の合計請求書を台帳から作り、請求書ファイル OUT に書き出します: --customer 顧客名 --period YYYY-MM-DD..YYYY-MM-DD。--one-line-per-slip で納品書ごとに一行にまとめます。</translation>
    </message>
</context>
<context>
    <name>seikyu::ChoicePanel</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Receipt</source>
        <translation>領収書</translation>
    </message>
    <message>
        <source>A receipt handed over on paper for ¥50,000 or more (without the tax it states) needs a revenue stamp; the page says how much and leaves a box for it. A receipt sent electronically needs none.</source>
        <translation>紙で渡す領収書は、記載した消費税を除いて5万円以上なら収入印紙が要ります。ページに印紙税額を示し、貼る枠を設けます。電子で送る領収書には要りません。</translation>
    </message>
    <message>
        <source>On paper</source>
        <translation>紙で渡す</translation>
    </message>
    <message>
        <source>Sent electronically</source>
        <translation>電子で送る</translation>
    </message>
    <message>
        <source>Delivery Slip</source>
        <translation>納品書</translation>
    </message>
    <message>
        <source>A slip that goes with the goods may leave its prices to the invoice: without them, its paper shows the items and quantities only. The file keeps the prices either way.</source>
        <translation>商品に添える納品書では、金額を請求書に任せることができます。その場合、納品書には品目と数量だけが載ります。どちらでもファイルには金額が残ります。</translation>
    </message>
    <message>
        <source>With prices and amounts</source>
        <translation>金額を載せる</translation>
    </message>
    <message>
        <source>Items and quantities only</source>
        <translation>品目と数量だけ</translation>
    </message>
</context>
<context>
    <name>seikyu::ContinuationPage</name>
    <message>
        <source>Items</source>
        <translation>明細</translation>
    </message>
    <message>
        <source>The item table, continued. Press Space or Return to change it.</source>
        <translation>明細表の続きです。Space キーか Return キーで変更できます。</translation>
    </message>
</context>
<context>
    <name>seikyu::CustomerBookStore</name>
    <message>
        <source>The customer is no longer in the customer book.</source>
        <translation>この顧客はもう顧客台帳にありません。</translation>
    </message>
</context>
<context>
    <name>seikyu::CustomerBookWindow</name>
    <message>
        <source>Customers</source>
        <translation>顧客</translation>
    </message>
    <message>
        <source>Search by name or reading</source>
        <translation>名前・フリガナで検索</translation>
    </message>
    <message>
        <source>New Customer</source>
        <translation>新規顧客</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>削除</translation>
    </message>
    <message>
        <source>Import CSV…</source>
        <translation>CSV を読み込む…</translation>
    </message>
    <message>
        <source>Export CSV…</source>
        <translation>CSV に書き出す…</translation>
    </message>
    <message>
        <source>The payment terms were not understood and were not stored.</source>
        <translation>支払条件を読み取れなかったため、保存していません。</translation>
    </message>
    <message>
        <source>Remove %1 from the customer book?</source>
        <translation>%1 を顧客台帳から削除しますか？</translation>
    </message>
    <message>
        <source>Invoices already made for this customer keep its name and address.</source>
        <translation>この顧客あての作成済みの請求書は、名前と住所をそのまま保ちます。</translation>
    </message>
    <message>
        <source>The customer list could not be read.</source>
        <translation>顧客リストを読み込めませんでした。</translation>
    </message>
    <message>
        <source>The file holds no customer that can be added.</source>
        <translation>ファイルに追加できる顧客がありません。</translation>
    </message>
    <message>
        <source>The customers could not be added.</source>
        <translation>顧客を追加できませんでした。</translation>
    </message>
    <message>
        <source>The customer list could not be written.</source>
        <translation>顧客リストを書き出せませんでした。</translation>
    </message>
    <message>
        <source>Import Customers</source>
        <translation>顧客を読み込む</translation>
    </message>
    <message>
        <source>Customer lists (*.csv *.txt);;All files (*)</source>
        <translation>顧客リスト (*.csv *.txt);;すべてのファイル (*)</translation>
    </message>
    <message>
        <source>Export the customer list as CSV</source>
        <translation>顧客リストを CSV に書き出します</translation>
    </message>
    <message>
        <source>UTF-8 suits current spreadsheets; Shift_JIS suits older Japanese software.</source>
        <translation>最近の表計算ソフトには UTF-8、古い日本語ソフトには Shift_JIS が向いています。</translation>
    </message>
    <message>
        <source>Export Customers</source>
        <translation>顧客を書き出す</translation>
    </message>
    <message>
        <source>customers.csv</source>
        <translation>顧客.csv</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV ファイル (*.csv)</translation>
    </message>
</context>
<context>
    <name>seikyu::CustomerForm</name>
    <message>
        <source>Name:</source>
        <translation>顧客名:</translation>
    </message>
    <message>
        <source>Reading (kana):</source>
        <translation>フリガナ:</translation>
    </message>
    <message>
        <source>Honorific:</source>
        <translation>敬称:</translation>
    </message>
    <message>
        <source>Department:</source>
        <translation>部署:</translation>
    </message>
    <message>
        <source>Contact&apos;s title:</source>
        <translation>役職:</translation>
    </message>
    <message>
        <source>Contact person:</source>
        <translation>担当者:</translation>
    </message>
    <message>
        <source>Postal code:</source>
        <translation>郵便番号:</translation>
    </message>
    <message>
        <source>Address:</source>
        <translation>住所:</translation>
    </message>
    <message>
        <source>Building:</source>
        <translation>建物名:</translation>
    </message>
    <message>
        <source>Telephone:</source>
        <translation>電話番号:</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>メール:</translation>
    </message>
    <message>
        <source>E-invoice address:</source>
        <translation>電子インボイスアドレス:</translation>
    </message>
    <message>
        <source>None</source>
        <translation>なし</translation>
    </message>
    <message>
        <source>Closing day:</source>
        <translation>締め日:</translation>
    </message>
    <message>
        <source>Payment terms:</source>
        <translation>支払条件:</translation>
    </message>
    <message>
        <source>Note:</source>
        <translation>メモ:</translation>
    </message>
    <message>
        <source>Not understood: write it as 翌月末, 翌々月10日 or 30日.</source>
        <translation>読み取れません。翌月末、翌々月10日、30日 のように書いてください。</translation>
    </message>
</context>
<context>
    <name>seikyu::CustomerSection</name>
    <message>
        <source>Honorific:</source>
        <translation>敬称:</translation>
    </message>
    <message>
        <source>0188:corporate number or 0221:T and 13 digits</source>
        <translation>0188:法人番号 または 0221:T と13桁</translation>
    </message>
    <message>
        <source>The customer&apos;s electronic address for e-invoices (Peppol ID): 0188 and the 13-digit corporate number (法人番号), or 0221 and the registration number (登録番号). Kept with the customer.</source>
        <translation>デジタルインボイスの宛先となる取引先の電子アドレス（Peppol ID）です。0188 と13桁の法人番号、または 0221 と登録番号。取引先と一緒に保存されます。</translation>
    </message>
    <message>
        <source>Electronic address:</source>
        <translation>電子アドレス:</translation>
    </message>
    <message>
        <source>Remove the chosen customer from the customer book? Its address and payment terms go with it; invoices already made keep its name.</source>
        <translation>選んだ顧客を顧客台帳から削除しますか？住所と支払条件も削除されます。作成済みの請求書の宛名はそのままです。</translation>
    </message>
    <message>
        <source>Edit in Customers…</source>
        <translation>顧客台帳で編集…</translation>
    </message>
    <message>
        <source>Opens the chosen customer in the customer book (Window ▸ Customers): its address, contact and payment terms.</source>
        <translation>選んだ顧客を顧客台帳（ウインドウ ▸ 顧客）で開きます。住所・担当者・支払条件を編集できます。</translation>
    </message>
    <message>
        <source>Electronic address %1</source>
        <translation>電子アドレス %1</translation>
    </message>
</context>
<context>
    <name>seikyu::DatePanel</name>
    <message>
        <source>Date</source>
        <translation>日付</translation>
    </message>
    <message>
        <source>Japanese era (令和)</source>
        <translation>和暦（令和）</translation>
    </message>
    <message>
        <source>Invoice date:</source>
        <translation>請求日:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>seikyu::Document</name>
    <message>
        <source>Customer</source>
        <translation>取引先</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>タイトル</translation>
    </message>
    <message>
        <source>The document&apos;s title. Add the titles you use with +; OK puts the selected one on the page.</source>
        <translation>書類の表題です。よく使う表題を＋で追加し、OKで選んだ表題をページに載せます。</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名前</translation>
    </message>
    <message>
        <source>The customer. Add your customers with +, then choose 御中 for a company or 様 for a person.</source>
        <translation>宛先です。取引先を＋で追加し、会社には御中、個人には様を選びます。</translation>
    </message>
    <message>
        <source>Your Details</source>
        <translation>自分の情報</translation>
    </message>
    <message>
        <source>Postal code</source>
        <translation>郵便番号</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>住所</translation>
    </message>
    <message>
        <source>Telephone</source>
        <translation>電話番号</translation>
    </message>
    <message>
        <source>Bank account</source>
        <translation>振込先口座</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Invoice Amount</source>
        <translation>請求金額</translation>
    </message>
    <message>
        <source>Put the total of the item table into the invoice amount box?</source>
        <translation>明細表の合計を請求金額の欄に入れますか？</translation>
    </message>
    <message>
        <source>No Total</source>
        <translation>合計がありません</translation>
    </message>
    <message>
        <source>The item table does not end with a total.
Add the sums to the table first (Add Sum).</source>
        <translation>明細表の最後に合計がありません。
先に表に合計を追加してください（合計を追加）。</translation>
    </message>
    <message>
        <source>Add Sum</source>
        <translation>合計を追加</translation>
    </message>
    <message>
        <source>Add the subtotal, the consumption tax and the total at the bottom of the table?</source>
        <translation>表の最後に小計・消費税・合計を追加しますか？</translation>
    </message>
    <message>
        <source>The table already ends with its total.
Remove the sum first to total it again.</source>
        <translation>表の最後にはすでに合計があります。
合計し直すには、先に合計を削除してください。</translation>
    </message>
    <message>
        <source>Images (%1)</source>
        <translation>画像 (%1)</translation>
    </message>
    <message>
        <source>Choose a Stamp Image</source>
        <translation>印鑑の画像を選択</translation>
    </message>
    <message>
        <source>The image could not be read</source>
        <translation>画像を読み込めませんでした</translation>
    </message>
    <message>
        <source>“%1” is not an image that Seikyu can read.</source>
        <translation>「%1」は Seikyu で読み込める画像ではありません。</translation>
    </message>
    <message>
        <source>Your lists could not be saved.</source>
        <translation>リストを保存できませんでした。</translation>
    </message>
    <message>
        <source>Seikyu could not write its settings file “%1”. Check that the disk has room and that the file can be written.</source>
        <translation>Seikyu は設定ファイル「%1」に書き込めませんでした。ディスクに空きがあるか、ファイルに書き込めるかを確認してください。</translation>
    </message>
    <message>
        <source>Cancel Table Edits</source>
        <translation>明細の編集をキャンセル</translation>
    </message>
    <message>
        <source>No Sums Added</source>
        <translation>合計を追加できません</translation>
    </message>
    <message>
        <source>The table&apos;s total is 0: there is no amount to ask for.
Add the items&apos; prices, then the sums again.</source>
        <translation>明細表の合計が 0 円なので、請求する金額がありません。
明細の価格を入力してから、合計を追加し直してください。</translation>
    </message>
    <message>
        <source>The totals are too large to be written on an invoice.
Check the unit prices and quantities of the items.</source>
        <translation>合計が大きすぎて請求書に書けません。
明細の単価と個数を確かめてください。</translation>
    </message>
    <message>
        <source>Registration number</source>
        <translation>登録番号</translation>
    </message>
    <message>
        <source>Your own details: postal code, address, name, telephone and bank account, and the registration number (登録番号) that makes the invoice a qualified invoice.</source>
        <translation>自分の情報です。郵便番号、住所、名前、電話番号、振込先に加えて、適格請求書にするための登録番号を入力します。</translation>
    </message>
    <message>
        <source>Lines skipped:</source>
        <translation>読み飛ばした行:</translation>
    </message>
    <message>
        <source>Import Rows</source>
        <translation>行の読み込み</translation>
    </message>
    <message>
        <source>CSV and text files (*.csv *.txt *.tsv);;All files (*)</source>
        <translation>CSV・テキストファイル (*.csv *.txt *.tsv);;すべてのファイル (*)</translation>
    </message>
    <message>
        <source>No rows were imported from “%1”.</source>
        <translation>「%1」から行を読み込めませんでした。</translation>
    </message>
    <message>
        <source>%1 rows were added from “%2”.</source>
        <translation>「%2」から%1行を追加しました。</translation>
    </message>
    <message>
        <source>The ledger is shared: Next Number takes the next number from the office&apos;s server.</source>
        <translation>台帳は共有されています。「次の番号」で事務所のサーバーから次の番号を取ります。</translation>
    </message>
    <message>
        <source>This invoice is taxed at 8 %.</source>
        <translation>この請求書の税率は 8 % です。</translation>
    </message>
    <message>
        <source>On an invoice at 8 %, the rate of invoices before October 2019, every row is taxed at 8 % and no row is marked. Switch the invoice to the standard rate of 10 % and mark the selected rows as reduced rate (8 %)?</source>
        <translation>税率 8 %（2019年10月より前の請求書の税率）の請求書では、すべての行が 8 % で課税され、行に印は付きません。請求書を標準税率 10 % に切り替えて、選択した行を軽減税率（8 %）にしますか？</translation>
    </message>
    <message>
        <source>Switch to 10 %</source>
        <translation>10 % に切り替える</translation>
    </message>
    <message>
        <source>another number was typed instead</source>
        <translation>代わりに別の番号が入力された</translation>
    </message>
    <message>
        <source>Cancel in the number panel</source>
        <translation>番号パネルでキャンセル</translation>
    </message>
    <message>
        <source>its invoice was dated into another year</source>
        <translation>請求書の日付が別の年に変わった</translation>
    </message>
    <message>
        <source>Move the rows&apos; dates and the due date with the invoice date?</source>
        <translation>明細の日付とお支払期限も請求日と一緒に動かしますか？</translation>
    </message>
    <message>
        <source>This copy is not saved yet: its rows&apos; dates and its due date can move on as its date did, from %1 to %2, and a number taken for it can follow the new date.</source>
        <translation>この複製はまだ保存されていません。明細の日付とお支払期限を請求日と同じだけ（%1 から %2 へ）動かし、複製の番号を新しい日付に合わせることができます。</translation>
    </message>
    <message>
        <source>Move Them</source>
        <translation>動かす</translation>
    </message>
    <message>
        <source>Leave Them</source>
        <translation>そのままにする</translation>
    </message>
    <message>
        <source>its invoice was closed without being issued</source>
        <translation>請求書が発行されずに閉じられた</translation>
    </message>
    <message>
        <source>This copy has no number yet. %1</source>
        <translation>この複製にはまだ番号がありません。%1</translation>
    </message>
    <message>
        <source>Rows left out, as they need a look:</source>
        <translation>確認が必要なため読み込まなかった行:</translation>
    </message>
    <message>
        <source>Rows taken as written, to be checked:</source>
        <translation>そのまま読み込んだ、確認が必要な行:</translation>
    </message>
    <message>
        <source>Some of the pasted rows need a look.</source>
        <translation>貼り付ける行の一部に確認が必要です。</translation>
    </message>
    <message>
        <source>Each can be pasted as written or left out:</source>
        <translation>そのまま貼り付けるか、除くかを選べます:</translation>
    </message>
    <message>
        <source>Paste as Written</source>
        <translation>そのまま貼り付ける</translation>
    </message>
    <message>
        <source>Leave Them Out</source>
        <translation>除いて貼り付ける</translation>
    </message>
    <message>
        <source>%1 rows were pasted.</source>
        <translation>%1行を貼り付けました。</translation>
    </message>
    <message>
        <source>This invoice is taxed at 8 % throughout, the rate before October 2019, so the rows&apos; tax classes count only once its rate is 10 % (Rate in the Items panel).</source>
        <translation>この請求書は全体が 8 %（2019年10月より前の税率）のため、行の税区分は税率を 10 % にしてから反映されます（明細パネルの「税率」）。</translation>
    </message>
    <message>
        <source>This document has no number yet. %1</source>
        <translation>この書類にはまだ番号がありません。%1</translation>
    </message>
</context>
<context>
    <name>seikyu::DocumentController</name>
    <message>
        <source>Invoices (*.%1 *.json)</source>
        <translation>請求書 (*.%1 *.json)</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>すべてのファイル (*)</translation>
    </message>
    <message>
        <source>Open Invoice</source>
        <translation>請求書を開く</translation>
    </message>
    <message>
        <source>“%1” could not be saved.</source>
        <translation>「%1」を保存できませんでした。</translation>
    </message>
    <message>
        <source>Save Invoice</source>
        <translation>請求書を保存</translation>
    </message>
    <message>
        <source>“%1” could not be reverted.</source>
        <translation>「%1」を保存した状態に戻せませんでした。</translation>
    </message>
    <message>
        <source>“%1” cannot be opened because it could not be read.</source>
        <translation>「%1」を読み込めなかったため、開けません。</translation>
    </message>
    <message>
        <source>“%1” cannot be opened because it is damaged or is not a Seikyu invoice.</source>
        <translation>「%1」は壊れているか Seikyu の請求書ではないため、開けません。</translation>
    </message>
    <message>
        <source>The copy has no number.</source>
        <translation>複製に番号がありません。</translation>
    </message>
    <message>
        <source>The new document has no number.</source>
        <translation>新しい書類には番号がありません。</translation>
    </message>
    <message>
        <source>Some delivery slips are listed as the ledger recorded them.</source>
        <translation>一部の納品書は台帳の記録どおりに載せました。</translation>
    </message>
    <message>
        <source>This invoice&apos;s payment already has a receipt.</source>
        <translation>この請求書の入金にはすでに領収書があります。</translation>
    </message>
    <message>
        <source>Make another receipt for it?</source>
        <translation>もう一枚領収書を作りますか？</translation>
    </message>
    <message>
        <source>Make Receipt</source>
        <translation>領収書を作成</translation>
    </message>
    <message>
        <source>This receipt names no payment.</source>
        <translation>この領収書はどの入金とも結び付いていません。</translation>
    </message>
</context>
<context>
    <name>seikyu::DueDatePanel</name>
    <message>
        <source>Payment Due Date</source>
        <translation>お支払期限</translation>
    </message>
    <message>
        <source>When the customer is to pay, shown under the invoice amount. It is proposed from the invoice date by your usual terms (Preferences).</source>
        <translation>御請求金額の下に表示する、支払いの期限です。請求日から、いつもの支払条件（「設定」で決めます）で求めた日付が入っています。</translation>
    </message>
    <message>
        <source>Show a payment due date</source>
        <translation>お支払期限を表示</translation>
    </message>
    <message>
        <source>Pay by:</source>
        <translation>期限：</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>seikyu::HelpPanel</name>
    <message>
        <source>%1 Help</source>
        <translation>%1 ヘルプ</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>検索</translation>
    </message>
</context>
<context>
    <name>seikyu::ImageWell</name>
    <message>
        <source>Drop or paste a stamp image here</source>
        <translation>ここに印鑑の画像をドロップするか、貼り付けてください</translation>
    </message>
</context>
<context>
    <name>seikyu::ImportRowsDialog</name>
    <message>
        <source>Date</source>
        <translation>日付</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>項目</translation>
    </message>
    <message>
        <source>Unit Price</source>
        <translation>単価</translation>
    </message>
    <message>
        <source>Quantity</source>
        <translation>個数</translation>
    </message>
    <message>
        <source>Price</source>
        <translation>価格</translation>
    </message>
    <message>
        <source>Import Rows</source>
        <translation>行の読み込み</translation>
    </message>
    <message>
        <source>“%1”, read as %2. Choose the table column each of its columns goes into.</source>
        <translation>「%1」を%2として読み込みました。各列を入れる表の列を選んでください。</translation>
    </message>
    <message>
        <source>The first line names the columns</source>
        <translation>1行目は列の見出し</translation>
    </message>
    <message>
        <source>Preview of the rows</source>
        <translation>行のプレビュー</translation>
    </message>
    <message>
        <source>Table column for column %1</source>
        <translation>%1列目を入れる表の列</translation>
    </message>
    <message>
        <source>(not imported)</source>
        <translation>（読み込まない）</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>読み込む</translation>
    </message>
    <message>
        <source>Into</source>
        <translation>入れる列</translation>
    </message>
    <message>
        <source>Standard rate</source>
        <translation>標準税率</translation>
    </message>
    <message>
        <source>Reduced rate 8 % ※</source>
        <translation>軽減税率 8 % ※</translation>
    </message>
    <message>
        <source>Not taxable</source>
        <translation>非課税</translation>
    </message>
    <message>
        <source>Tax Class</source>
        <translation>税区分</translation>
    </message>
    <message>
        <source>Take them as written</source>
        <translation>そのまま読み込む</translation>
    </message>
    <message>
        <source>Leave them out</source>
        <translation>読み込まない</translation>
    </message>
    <message>
        <source>Check</source>
        <translation>確認</translation>
    </message>
    <message>
        <source>Left out: %1</source>
        <translation>読み込まない: %1</translation>
    </message>
    <message>
        <source>Rows that need a look (%1 of %2):</source>
        <translation>確認が必要な行（%2行中%1行）:</translation>
    </message>
    <message>
        <source>Rows that need a look among the first %1 (%2):</source>
        <translation>最初の%1行のうち確認が必要な行（%2行）:</translation>
    </message>
    <message>
        <source>Paste Rows</source>
        <translation>行の貼り付け</translation>
    </message>
    <message>
        <source>The columns of the pasted cells cannot be told apart by what they hold. Choose the table column each of them goes into.</source>
        <translation>貼り付けたセルの列は、内容からは見分けられません。それぞれの列を入れる表の列を選んでください。</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>貼り付ける</translation>
    </message>
</context>
<context>
    <name>seikyu::InvoicePageView</name>
    <message>
        <source>Customer</source>
        <translation>取引先</translation>
    </message>
    <message>
        <source>Your details</source>
        <translation>自分の情報</translation>
    </message>
    <message>
        <source>Stamp</source>
        <translation>印鑑</translation>
    </message>
    <message>
        <source>Invoice number</source>
        <translation>請求書番号</translation>
    </message>
    <message>
        <source>Payment due date</source>
        <translation>お支払期限</translation>
    </message>
    <message>
        <source>Remarks</source>
        <translation>備考</translation>
    </message>
    <message>
        <source>Paper or electronic?</source>
        <translation>紙か電子か</translation>
    </message>
</context>
<context>
    <name>seikyu::IssuedInvoicesWindow</name>
    <message>
        <source>Kind of document</source>
        <translation>書類の種類</translation>
    </message>
    <message>
        <source>Any kind</source>
        <translation>すべての種類</translation>
    </message>
    <message>
        <source>&amp;Kind:</source>
        <translation>種類(&amp;K):</translation>
    </message>
    <message>
        <source>%1 %2 is not an invoice: nothing is owed on it.</source>
        <translation>%1 %2 は請求書ではないため、入金の対象ではありません。</translation>
    </message>
    <message>
        <source>Issued Invoices</source>
        <translation>発行済み請求書</translation>
    </message>
    <message>
        <source>Issued invoices</source>
        <translation>発行済み請求書</translation>
    </message>
    <message>
        <source>YYYY-MM-DD</source>
        <translation>YYYY-MM-DD</translation>
    </message>
    <message>
        <source>Invoice date from</source>
        <translation>取引年月日（から）</translation>
    </message>
    <message>
        <source>Invoice date to</source>
        <translation>取引年月日（まで）</translation>
    </message>
    <message>
        <source>yen</source>
        <translation>円</translation>
    </message>
    <message>
        <source>Amount from</source>
        <translation>金額（以上）</translation>
    </message>
    <message>
        <source>Amount to</source>
        <translation>金額（以下）</translation>
    </message>
    <message>
        <source>part of the name</source>
        <translation>名前の一部</translation>
    </message>
    <message>
        <source>Customer</source>
        <translation>取引先</translation>
    </message>
    <message>
        <source>Invoice number</source>
        <translation>請求書番号</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>状態</translation>
    </message>
    <message>
        <source>Any status</source>
        <translation>すべての状態</translation>
    </message>
    <message>
        <source>Unpaid or partly paid</source>
        <translation>未入金・一部入金</translation>
    </message>
    <message>
        <source>Past due</source>
        <translation>期限超過</translation>
    </message>
    <message>
        <source>&amp;Date:</source>
        <translation>日付(&amp;D):</translation>
    </message>
    <message>
        <source>&amp;Amount:</source>
        <translation>金額(&amp;A):</translation>
    </message>
    <message>
        <source>C&amp;ustomer:</source>
        <translation>取引先(&amp;U):</translation>
    </message>
    <message>
        <source>&amp;Number:</source>
        <translation>番号(&amp;N):</translation>
    </message>
    <message>
        <source>S&amp;tatus:</source>
        <translation>状態(&amp;T):</translation>
    </message>
    <message>
        <source>Un&amp;paid</source>
        <translation>未入金(&amp;P)</translation>
    </message>
    <message>
        <source>Pa&amp;st Due</source>
        <translation>期限超過(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Record Payment…</source>
        <translation>入金を記録(&amp;R)…</translation>
    </message>
    <message>
        <source>&amp;Void…</source>
        <translation>取消(&amp;V)…</translation>
    </message>
    <message>
        <source>Open &amp;PDF</source>
        <translation>PDFを開く(&amp;P)</translation>
    </message>
    <message>
        <source>Open &amp;Invoice</source>
        <translation>請求書を開く(&amp;I)</translation>
    </message>
    <message>
        <source>Download &amp;CSV…</source>
        <translation>CSVをダウンロード(&amp;C)…</translation>
    </message>
    <message>
        <source>&amp;Verify Ledger</source>
        <translation>台帳を検証(&amp;E)</translation>
    </message>
    <message>
        <source>Record-Keeping Rules (事務処理規程)…</source>
        <translation>事務処理規程…</translation>
    </message>
    <message>
        <source>Ledger of issued invoices</source>
        <translation>発行済み請求書の台帳</translation>
    </message>
    <message>
        <source>The ledger of issued invoices cannot be opened: %1</source>
        <translation>発行済み請求書の台帳を開けません: %1</translation>
    </message>
    <message>
        <source>The first date is not a date (YYYY-MM-DD).</source>
        <translation>開始日が日付（YYYY-MM-DD）ではありません。</translation>
    </message>
    <message>
        <source>The second date is not a date (YYYY-MM-DD).</source>
        <translation>終了日が日付（YYYY-MM-DD）ではありません。</translation>
    </message>
    <message>
        <source>The smallest amount is not an amount.</source>
        <translation>下限の金額が金額ではありません。</translation>
    </message>
    <message>
        <source>The largest amount is not an amount.</source>
        <translation>上限の金額が金額ではありません。</translation>
    </message>
    <message numerus="yes">
        <source>%n invoice(s) shown · Total %1 · Outstanding %2</source>
        <translation>
            <numerusform>%n件表示 · 合計 %1 · 未入金 %2</numerusform>
        </translation>
    </message>
    <message>
        <source>The payment is more than what is owed.</source>
        <translation>入金額が未入金額を超えています。</translation>
    </message>
    <message>
        <source>Invoice %1 asks for %2 more; the payment is %3. Record it all the same?</source>
        <translation>請求書%1の未入金額は%2ですが、入金額は%3です。このまま記録しますか？</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>記録</translation>
    </message>
    <message>
        <source>The payment could not be recorded.</source>
        <translation>入金を記録できませんでした。</translation>
    </message>
    <message>
        <source>%1 %2, %3</source>
        <translation>%1 %2、%3</translation>
    </message>
    <message>
        <source>Void</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Why is this entry void? The entry stays in the ledger, marked void with your reason.</source>
        <translation>取り消す理由を入力してください。記録は台帳に残り、理由とともに取消と表示されます。</translation>
    </message>
    <message>
        <source>The entry could not be voided.</source>
        <translation>記録を取り消せませんでした。</translation>
    </message>
    <message>
        <source>The archived PDF is missing.</source>
        <translation>保存PDFが見つかりません。</translation>
    </message>
    <message>
        <source>The invoice file is no longer there.</source>
        <translation>請求書ファイルが見つかりません。</translation>
    </message>
    <message>
        <source>issued-invoices-%1.csv</source>
        <translation>発行済み請求書-%1.csv</translation>
    </message>
    <message>
        <source>Download CSV</source>
        <translation>CSVをダウンロード</translation>
    </message>
    <message>
        <source>CSV (*.csv)</source>
        <translation>CSV (*.csv)</translation>
    </message>
    <message>
        <source>The CSV could not be written.</source>
        <translation>CSVを書き込めませんでした。</translation>
    </message>
    <message>
        <source>The ledger could not be read: %1</source>
        <translation>台帳を読み込めませんでした: %1</translation>
    </message>
    <message>
        <source>The ledger is intact: no entry and no archived PDF was changed.</source>
        <translation>台帳に異常はありません。記録も保存PDFも変更されていません。</translation>
    </message>
    <message>
        <source>Verify Ledger</source>
        <translation>台帳を検証</translation>
    </message>
    <message>
        <source>Verify Ledger found something wrong.</source>
        <translation>台帳の検証で問題が見つかりました。</translation>
    </message>
    <message>
        <source>Reading the ledger of issued invoices…</source>
        <translation>発行済み請求書の台帳を読み込んでいます…</translation>
    </message>
    <message>
        <source>Verifying the ledger…</source>
        <translation>台帳を検証しています…</translation>
    </message>
    <message>
        <source>Recovering entries…</source>
        <translation>エントリを復元しています…</translation>
    </message>
    <message>
        <source>Record-Keeping Rules (事務処理規程)</source>
        <translation>事務処理規程</translation>
    </message>
    <message>
        <source>Record-keeping rules</source>
        <translation>事務処理規程</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Text (*.txt)</source>
        <translation>テキスト (*.txt)</translation>
    </message>
    <message>
        <source>The file could not be written.</source>
        <translation>ファイルを書き込めませんでした。</translation>
    </message>
    <message numerus="yes">
        <source>… and %n more refused entries kept aside on this computer.</source>
        <translation>
            <numerusform>…ほかに、受け付けられなかった %n 件の記録をこのコンピューターに別に保管してあります。</numerusform>
        </translation>
    </message>
    <message>
        <source>Sending the waiting entries stopped: %1</source>
        <translation>待機中の記録の送信が止まりました：%1</translation>
    </message>
    <message>
        <source>The ledger&apos;s server does not answer. Nothing was recorded; try again when it answers.</source>
        <translation>台帳のサーバーが応答しません。何も記録していません。サーバーが応答するようになってから、もう一度お試しください。</translation>
    </message>
    <message>
        <source>The ledger of issued invoices cannot be read: %1</source>
        <translation>発行済み請求書の台帳を読み込めません: %1</translation>
    </message>
    <message>
        <source>Rec&amp;over…</source>
        <translation>復旧(&amp;O)…</translation>
    </message>
    <message>
        <source>Another File…</source>
        <translation>ほかのファイル…</translation>
    </message>
    <message>
        <source>Recover the entries of which ledger?</source>
        <translation>どの台帳の記録を復旧しますか？</translation>
    </message>
    <message>
        <source>The readable entries of a damaged ledger are checked against their chain and added to this ledger; what it holds already is not added twice. This ledger, when chosen and damaged, is first set aside and a new one started.</source>
        <translation>破損した台帳の読み取れる記録を、ハッシュの連鎖で確かめてからこの台帳に加えます。すでにある記録は二重に加えません。この台帳を選び、それが破損している場合は、まず退避して新しい台帳を始めます。</translation>
    </message>
    <message>
        <source>Recover</source>
        <translation>復旧</translation>
    </message>
    <message>
        <source>The entries could not be recovered: %1</source>
        <translation>記録を復旧できませんでした: %1</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1（%2）</translation>
    </message>
    <message>
        <source>Unused numbers: %1</source>
        <translation>未使用の番号：%1</translation>
    </message>
    <message>
        <source>Reading the office&apos;s ledger…</source>
        <translation>事務所の台帳を読み込んでいます…</translation>
    </message>
    <message>
        <source>Looking up the invoice in the office&apos;s ledger…</source>
        <translation>事務所の台帳で請求書を調べています…</translation>
    </message>
    <message>
        <source>Recording the payment in the office&apos;s ledger…</source>
        <translation>事務所の台帳に入金を記録しています…</translation>
    </message>
    <message>
        <source>Whether it reached the ledger shows in this list once the server answers again; look there before recording it again.</source>
        <translation>台帳に届いたかどうかは、サーバーが再び応答するとこの一覧に表示されます。もう一度記録する前に確認してください。</translation>
    </message>
    <message>
        <source>Reaching the office&apos;s ledger…</source>
        <translation>事務所の台帳に接続しています…</translation>
    </message>
    <message>
        <source>Voiding the entry in the office&apos;s ledger…</source>
        <translation>事務所の台帳でエントリを無効にしています…</translation>
    </message>
    <message>
        <source>The first date is after the second: swap them to search from %1 to %2.</source>
        <translation>最初の日付が後の日付より後になっています。%1 から %2 までを検索するには入れ替えてください。</translation>
    </message>
    <message>
        <source>The smallest amount is more than the largest: swap them to search from %1 to %2.</source>
        <translation>最小の金額が最大の金額より大きくなっています。%1 から %2 までを検索するには入れ替えてください。</translation>
    </message>
    <message>
        <source>Verify Ledger was stopped before it finished: it found nothing either way. Run it again to know whether the ledger is intact.</source>
        <translation>台帳の検証は終わる前に中止されました。問題の有無はまだ分かりません。台帳が無傷かどうかを知るには、もう一度検証してください。</translation>
    </message>
    <message>
        <source>&amp;Make Receipt</source>
        <translation>領収書を作成(&amp;M)</translation>
    </message>
    <message>
        <source>The payments cannot be read.</source>
        <translation>入金を読み込めません。</translation>
    </message>
    <message>
        <source>This receipt is made from the invoice.</source>
        <translation>この領収書は請求書から作成してください。</translation>
    </message>
    <message>
        <source>This payment already has a receipt.</source>
        <translation>この入金にはすでに領収書があります。</translation>
    </message>
    <message>
        <source>Make another receipt for it?</source>
        <translation>もう一枚領収書を作りますか？</translation>
    </message>
    <message>
        <source>Make Receipt</source>
        <translation>領収書を作成</translation>
    </message>
    <message>
        <source>The invoice&apos;s file is gone or has changed since it was issued.</source>
        <translation>請求書のファイルがないか、発行後に変更されています。</translation>
    </message>
    <message>
        <source>No payment is recorded for this invoice yet.</source>
        <translation>この請求書の入金はまだ記録されていません。</translation>
    </message>
    <message>
        <source>Record the payment first: the receipt states what was received.</source>
        <translation>先に入金を記録してください。領収書には受け取った額を記します。</translation>
    </message>
    <message>
        <source>The payment is part of an invoice of more than one tax rate, and which part was paid at which rate is not recorded. Make the receipt from the invoice with File ▸ Make Receipt and set what was received at each rate.</source>
        <translation>この入金は税率が二つ以上ある請求書の一部の入金で、どの税率の分がいくら支払われたかは記録されていません。請求書から「ファイル ▸ 領収書を作成」で領収書を作り、税率ごとに受け取った額を入れてください。</translation>
    </message>
</context>
<context>
    <name>seikyu::IssuerSection</name>
    <message>
        <source>T and 13 digits, if you have one</source>
        <translation>T と13桁の数字（登録している場合）</translation>
    </message>
    <message>
        <source>Bank Account…</source>
        <translation>振込先口座…</translation>
    </message>
    <message>
        <source>Type the chosen entry&apos;s bank account as fields: bank and branch with their codes, type, number and holder.</source>
        <translation>選んだ項目の振込先を欄ごとに入力します：金融機関と支店（コード付き）、種類、口座番号、口座名義。</translation>
    </message>
    <message>
        <source>“%1” is not a registration number.</source>
        <translation>「%1」は登録番号ではありません。</translation>
    </message>
    <message>
        <source>A registration number is the letter T followed by 13 digits, such as T1234567890123. Leave the field empty if you have none.</source>
        <translation>登録番号は T に続く13桁の数字です（例：T1234567890123）。登録していない場合は空欄にしてください。</translation>
    </message>
    <message>
        <source>%1 is not a corporation&apos;s number.</source>
        <translation>%1 は法人番号ではありません。</translation>
    </message>
    <message>
        <source>Its first digit is not the check digit of a corporate number. An individual business&apos;s number from the tax office need not have one; check the number against your notice of registration.</source>
        <translation>先頭の数字が法人番号のチェックデジットと合いません。個人事業者に税務署が割り当てた番号ではチェックデジットが合わないことがあります。登録通知書の番号と見比べてください。</translation>
    </message>
    <message>
        <source>Use This Number</source>
        <translation>この番号を使う</translation>
    </message>
    <message>
        <source>Bank</source>
        <translation>金融機関</translation>
    </message>
    <message>
        <source>Bank code</source>
        <translation>金融機関コード</translation>
    </message>
    <message>
        <source>Branch</source>
        <translation>支店</translation>
    </message>
    <message>
        <source>Branch code</source>
        <translation>支店コード</translation>
    </message>
    <message>
        <source>Account number</source>
        <translation>口座番号</translation>
    </message>
    <message>
        <source>Holder (kana)</source>
        <translation>口座名義（カナ）</translation>
    </message>
    <message>
        <source>The bank&apos;s name as it ends: 銀行, 信用金庫, 信用組合, 労働金庫 or 農協.</source>
        <translation>金融機関名。銀行・信用金庫・信用組合・労働金庫・農協で終わる名前です。</translation>
    </message>
    <message>
        <source>The bank&apos;s four-digit code (金融機関コード); may be left empty.</source>
        <translation>4桁の金融機関コード。空欄でもかまいません。</translation>
    </message>
    <message>
        <source>The branch&apos;s name as it ends: 支店, 本店, 営業部, 出張所 or 店.</source>
        <translation>支店名。支店・本店・営業部・出張所・店で終わる名前です。</translation>
    </message>
    <message>
        <source>The branch&apos;s three-digit code (支店コード); may be left empty.</source>
        <translation>3桁の支店コード。空欄でもかまいません。</translation>
    </message>
    <message>
        <source>The account&apos;s seven-digit number.</source>
        <translation>7桁の口座番号。</translation>
    </message>
    <message>
        <source>The account holder&apos;s name in kana, as the bank writes it; may be left empty.</source>
        <translation>銀行の表記どおりのカナの口座名義。空欄でもかまいません。</translation>
    </message>
    <message>
        <source>4 digits</source>
        <translation>4桁</translation>
    </message>
    <message>
        <source>3 digits</source>
        <translation>3桁</translation>
    </message>
    <message>
        <source>7 digits</source>
        <translation>7桁</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>種類</translation>
    </message>
    <message>
        <source>The account&apos;s type: 普通, 当座 or 貯蓄.</source>
        <translation>口座の種類：普通・当座・貯蓄。</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>変更</translation>
    </message>
    <message>
        <source>Writes the account into the chosen entry as its bank line.</source>
        <translation>口座を振込先の行として、選んだ項目に書き込みます。</translation>
    </message>
    <message>
        <source>The bank account cannot be used as typed.</source>
        <translation>入力された振込先口座は使えません。</translation>
    </message>
</context>
<context>
    <name>seikyu::LedgerOutbox</name>
    <message numerus="yes">
        <source>%n entries waiting to be sent</source>
        <translation>
            <numerusform>%n 件の記録が送信待ちです</numerusform>
        </translation>
    </message>
    <message>
        <source>The server does not answer.</source>
        <translation>サーバーが応答しません。</translation>
    </message>
    <message>
        <source>The invoice to %1 for %2</source>
        <translation>%1 宛ての %2 の請求書</translation>
    </message>
    <message>
        <source>The invoice %1 to %2 for %3</source>
        <translation>%2 宛ての %3 の請求書 %1</translation>
    </message>
    <message>
        <source>The payment of %1 received on %2</source>
        <translation>%2 に受け取った %1 の入金</translation>
    </message>
    <message>
        <source>The void “%1”</source>
        <translation>取消「%1」</translation>
    </message>
    <message>
        <source>%1, recorded on this computer, was refused by the ledger&apos;s server (%2). It is kept aside on this computer and is not in the ledger; record it again if it still applies.</source>
        <translation>このコンピューターで記録した%1は、台帳のサーバーに受け付けられませんでした（%2）。この記録はこのコンピューターに別に保管してあり、台帳には入っていません。今も必要なら、もう一度記録してください。</translation>
    </message>
    <message>
        <source>the entry it refers to was refused and is kept aside too</source>
        <translation>参照先の記録も受け付けられず、別に保管してあります</translation>
    </message>
    <message>
        <source>%1, recorded on this computer, was refused by the ledger&apos;s server. %2 It is kept aside on this computer and is not in the ledger; record it again once that is put right.</source>
        <translation>このコンピューターで記録した%1は、台帳のサーバーに受け付けられませんでした。%2 この記録はこのコンピューターに別に保管してあり、台帳には入っていません。問題が解決したら、もう一度記録してください。</translation>
    </message>
    <message>
        <source>The unused number %1</source>
        <translation>未使用の番号 %1</translation>
    </message>
</context>
<context>
    <name>seikyu::LedgerPlaceBox</name>
    <message>
        <source>Nothing was copied.</source>
        <translation>何もコピーしていません。</translation>
    </message>
    <message>
        <source>Nothing was tested.</source>
        <translation>何も試していません。</translation>
    </message>
    <message>
        <source>The connection text was not kept. Leave the password out: Seikyu does not store passwords. Put it in PostgreSQL&apos;s password file (~/.pgpass) instead.</source>
        <translation>接続文字列は保存されませんでした。パスワードは含めないでください。Seikyu はパスワードを保存しません。代わりに PostgreSQL のパスワードファイル（~/.pgpass）に書いてください。</translation>
    </message>
    <message>
        <source>The connection text was not kept: %1</source>
        <translation>接続文字列は保存されませんでした: %1</translation>
    </message>
    <message>
        <source>Ledger</source>
        <translation>台帳</translation>
    </message>
    <message>
        <source>On this computer</source>
        <translation>このコンピューター</translation>
    </message>
    <message>
        <source>Shared server (PostgreSQL)</source>
        <translation>共有サーバー（PostgreSQL）</translation>
    </message>
    <message>
        <source>Server connection</source>
        <translation>サーバーへの接続</translation>
    </message>
    <message>
        <source>A libpq connection string or URI, e.g. “host=db.office port=5432 dbname=seikyu user=taro” or “postgresql://taro@db.office/seikyu”. Seikyu never stores a password: PostgreSQL&apos;s password file (~/.pgpass) or service file (~/.pg_service.conf) supplies it.</source>
        <translation>libpq の接続文字列または URI。例：「host=db.office port=5432 dbname=seikyu user=taro」「postgresql://taro@db.office/seikyu」。Seikyu はパスワードを保存しません。PostgreSQL のパスワードファイル（~/.pgpass）またはサービスファイル（~/.pg_service.conf）から渡されます。</translation>
    </message>
    <message>
        <source>Test Connection</source>
        <translation>接続をテスト</translation>
    </message>
    <message>
        <source>Copy My Local Ledger to the Server</source>
        <translation>このコンピューターの台帳をサーバーへコピー</translation>
    </message>
    <message>
        <source>The environment variable SEIKYU_LEDGER sets the server instead: %1</source>
        <translation>環境変数 SEIKYU_LEDGER が代わりにサーバーを指定しています：%1</translation>
    </message>
    <message>
        <source>Choose the shared server first.</source>
        <translation>先に共有サーバーを選んでください。</translation>
    </message>
    <message>
        <source>There is no local ledger to copy.</source>
        <translation>コピーするこのコンピューターの台帳がありません。</translation>
    </message>
    <message>
        <source>Nothing was copied: %1</source>
        <translation>何もコピーしませんでした：%1</translation>
    </message>
    <message>
        <source>Copied %1 entries to the server; %2 were there from an earlier copy.</source>
        <translation>%1 件をサーバーへコピーしました。%2 件は以前のコピーで送られていました。</translation>
    </message>
    <message>
        <source>The copy stopped after %1 entries: %2. Run it again to copy the rest; nothing is copied twice.</source>
        <translation>%1 件でコピーが止まりました：%2。もう一度実行すると残りをコピーします。同じ記録が二重にコピーされることはありません。</translation>
    </message>
    <message>
        <source>Set Up Server…</source>
        <translation>サーバーを設定…</translation>
    </message>
    <message>
        <source>Testing the connection…</source>
        <translation>接続をテストしています…</translation>
    </message>
    <message>
        <source>Copying the local ledger to the server…</source>
        <translation>このコンピューターの台帳をサーバーにコピーしています…</translation>
    </message>
</context>
<context>
    <name>seikyu::LedgerRoles</name>
    <message>
        <source>This login owns the ledger&apos;s tables on the server (or may alter them), so it could switch their protection off and rewrite history: let the administrator set up the server with a separate office role (seikyu --ledger-setup, or Preferences ▸ Set Up Server…) and use that role here.</source>
        <translation>このログインはサーバー上の台帳のテーブルを所有している（または変更できる）ため、保護を外して履歴を書き換えられます。管理者に事務用の別のロールでサーバーを設定してもらい（seikyu --ledger-setup、または 環境設定 ▸ サーバーを設定…）、ここではそのロールを使ってください。</translation>
    </message>
</context>
<context>
    <name>seikyu::LedgerStore</name>
    <message>
        <source>entry %1 (%2) is not an invoice: nothing is owed on it, and no payment is recorded against it</source>
        <translation>記録 %1（%2）は請求書ではないため、入金の対象ではなく、入金は記録されません</translation>
    </message>
    <message>
        <source>the payment it acknowledges is not in the ledger</source>
        <translation>領収する入金の記録が台帳にありません</translation>
    </message>
    <message>
        <source>entry %1 cannot be acknowledged: %2</source>
        <translation>記録 %1 は領収できません: %2</translation>
    </message>
    <message>
        <source>only a receipt acknowledges a payment</source>
        <translation>入金を領収するのは領収書だけです</translation>
    </message>
    <message>
        <source>it is no payment</source>
        <translation>入金の記録ではありません</translation>
    </message>
    <message>
        <source>the payment is void</source>
        <translation>その入金は取消済みです</translation>
    </message>
    <message>
        <source>the entry it refers to is not in the ledger</source>
        <translation>参照先の記録が台帳にありません</translation>
    </message>
    <message>
        <source>it refers to no entry</source>
        <translation>参照先の記録がありません</translation>
    </message>
    <message>
        <source>entry %1 is void</source>
        <translation>記録 %1 は取消済みです</translation>
    </message>
    <message>
        <source>An older Seikyu set up the ledger on the server (schema version %1), and this login may not change its tables: the administrator brings it up to date with seikyu --ledger-setup.</source>
        <translation>サーバー上の台帳は以前の Seikyu が用意したもので（スキーマのバージョン %1）、このログインではテーブルを変更できません。管理者が seikyu --ledger-setup で新しくします。</translation>
    </message>
</context>
<context>
    <name>seikyu::LedgerTableModel</name>
    <message>
        <source>Kind</source>
        <translation>種類</translation>
    </message>
    <message>
        <source>Voided: %1</source>
        <translation>取消: %1</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>日付</translation>
    </message>
    <message>
        <source>Number</source>
        <translation>番号</translation>
    </message>
    <message>
        <source>Customer</source>
        <translation>取引先</translation>
    </message>
    <message>
        <source>Amount</source>
        <translation>金額</translation>
    </message>
    <message>
        <source>Due</source>
        <translation>支払期限</translation>
    </message>
    <message>
        <source>Paid</source>
        <translation>入金額</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>状態</translation>
    </message>
</context>
<context>
    <name>seikyu::ListSection</name>
    <message>
        <source>Search by name or reading</source>
        <translation>名前・フリガナで検索</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>検索</translation>
    </message>
    <message>
        <source>Narrows the list to the entries whose name or reading holds what is typed. Up and Down choose among them; Return puts the chosen one on the page.</source>
        <translation>名前または読みに入力した文字を含む項目だけを表示します。上下キーで選び、Return キーで選んだ項目をページに載せます。</translation>
    </message>
    <message>
        <source>Add an entry</source>
        <translation>項目を追加</translation>
    </message>
    <message>
        <source>Remove the selected entry</source>
        <translation>選択した項目を削除</translation>
    </message>
    <message>
        <source>Edit…</source>
        <translation>編集…</translation>
    </message>
    <message>
        <source>Edit the selected entry</source>
        <translation>選択した項目を編集</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>追加</translation>
    </message>
    <message>
        <source>Remove the selected entry from the list?</source>
        <translation>選択した項目をリストから削除しますか？</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>削除</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>変更</translation>
    </message>
    <message>
        <source>Nothing found</source>
        <translation>見つかりません</translation>
    </message>
    <message>
        <source>Choose an entry</source>
        <translation>項目を選んでください</translation>
    </message>
    <message>
        <source>Add an entry with +</source>
        <translation>＋で項目を追加してください</translation>
    </message>
    <message>
        <source>The chosen entry was removed — choose another</source>
        <translation>選んでいた項目は削除されました。別の項目を選んでください</translation>
    </message>
</context>
<context>
    <name>seikyu::NumberPanel</name>
    <message>
        <source>Invoice Number</source>
        <translation>請求書番号</translation>
    </message>
    <message>
        <source>The invoice&apos;s number, shown under the date. The next number of your sequence is offered (Preferences set its pattern); type any other if you like. Leave it empty for an invoice without a number.</source>
        <translation>日付の下に表示する請求書番号です。連番の次の番号が入っています（書式は「設定」で決めます）。別の番号を入力してもかまいません。番号を付けないときは空にします。</translation>
    </message>
    <message>
        <source>Next Number</source>
        <translation>次の番号</translation>
    </message>
    <message>
        <source>Puts the next number of your sequence into the field.</source>
        <translation>連番の次の番号を欄に入れます。</translation>
    </message>
    <message>
        <source>Invoice number:</source>
        <translation>請求書番号：</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>The invoice&apos;s number, shown under the date. With the shared ledger none is offered: Next Number takes the next one from the office&apos;s server, or type it. Leave it empty for an invoice without a number.</source>
        <translation>日付の下に表示する請求書番号です。共有台帳では番号は入っていません。「次の番号」で事務所のサーバーから次の番号を取るか、番号を入力してください。番号を付けないときは空にします。</translation>
    </message>
    <message>
        <source>No number yet</source>
        <translation>番号はまだありません</translation>
    </message>
</context>
<context>
    <name>seikyu::NumberSequence</name>
    <message>
        <source>Recorded by %1 on %2.</source>
        <translation>%2 で %1 が記録。</translation>
    </message>
    <message>
        <source>No. %1 is already in the ledger: entry %2, for %3, %4, dated %5.</source>
        <translation>No. %1 はすでに台帳にあります：記録 %2、%3 宛て、%4、%5 付。</translation>
    </message>
</context>
<context>
    <name>seikyu::PaymentDialog</name>
    <message>
        <source>Record Payment</source>
        <translation>入金を記録</translation>
    </message>
    <message>
        <source>Date received</source>
        <translation>入金日</translation>
    </message>
    <message>
        <source>&amp;Date received:</source>
        <translation>入金日(&amp;D):</translation>
    </message>
    <message>
        <source>Amount received</source>
        <translation>入金額</translation>
    </message>
    <message>
        <source>&amp;Amount (yen):</source>
        <translation>金額（円）(&amp;A):</translation>
    </message>
    <message>
        <source>Remark</source>
        <translation>メモ</translation>
    </message>
    <message>
        <source>&amp;Remark:</source>
        <translation>メモ(&amp;R):</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>記録</translation>
    </message>
    <message>
        <source>A payment is more than %1: type the amount received.</source>
        <translation>入金額は %1 より大きい金額です。受け取った金額を入力してください。</translation>
    </message>
</context>
<context>
    <name>seikyu::PreferencesDialog</name>
    <message>
        <source>Preferences</source>
        <translation>設定</translation>
    </message>
    <message>
        <source>Check for updates at start-up</source>
        <translation>起動時にアップデートを確認</translation>
    </message>
    <message>
        <source>8 % (as invoices of earlier versions)</source>
        <translation>8 %（以前のバージョンの請求書と同じ）</translation>
    </message>
    <message>
        <source>10 % (the standard rate since October 2019)</source>
        <translation>10 %（2019年10月からの標準税率）</translation>
    </message>
    <message>
        <source>Consumption tax of new invoices</source>
        <translation>新しい請求書の消費税率</translation>
    </message>
    <message>
        <source>Consumption tax of new invoices:</source>
        <translation>新しい請求書の消費税率：</translation>
    </message>
    <message>
        <source>Since October 2019 the standard rate is 10 %; 8 % is the reduced rate for food and drink and newspapers, which you mark row by row in the item table.</source>
        <translation>2019年10月から標準税率は10 %です。8 %は飲食料品と新聞の軽減税率で、明細表で行ごとに指定します。</translation>
    </message>
    <message>
        <source>Round half up (四捨五入)</source>
        <translation>四捨五入</translation>
    </message>
    <message>
        <source>Round down (切り捨て)</source>
        <translation>切り捨て</translation>
    </message>
    <message>
        <source>Round up (切り上げ)</source>
        <translation>切り上げ</translation>
    </message>
    <message>
        <source>Rounding of the consumption tax</source>
        <translation>消費税の端数処理</translation>
    </message>
    <message>
        <source>Tax rounding, once per rate:</source>
        <translation>消費税の端数処理（税率ごとに1回）：</translation>
    </message>
    <message>
        <source>Invoice number pattern</source>
        <translation>請求書番号の書式</translation>
    </message>
    <message>
        <source>Invoice numbers:</source>
        <translation>請求書番号：</translation>
    </message>
    <message>
        <source>{yyyy} is the year of the invoice date, {yy} its last two digits, {0000} the sequence with as many digits as zeros; anything else stays as you write it. With the year in the pattern, each year starts again at 1.</source>
        <translation>{yyyy} は請求日の年、{yy} はその下2桁、{0000} は連番で、0 の数だけの桁数になります。それ以外の文字は書いたとおりに使われます。書式に年が入っていれば、連番は年ごとに 1 から始まります。</translation>
    </message>
    <message>
        <source>Next sequence number</source>
        <translation>次の連番</translation>
    </message>
    <message>
        <source>Next in sequence:</source>
        <translation>次の連番：</translation>
    </message>
    <message>
        <source>The next invoice dated today: %1</source>
        <translation>今日の日付の次の請求書：%1</translation>
    </message>
    <message>
        <source>End of the following month (翌月末)</source>
        <translation>翌月末</translation>
    </message>
    <message>
        <source>30 days after the invoice date</source>
        <translation>請求日の30日後</translation>
    </message>
    <message>
        <source>A fixed day of the following month</source>
        <translation>翌月の決まった日</translation>
    </message>
    <message>
        <source>Usual payment terms</source>
        <translation>いつもの支払条件</translation>
    </message>
    <message>
        <source>Day of the following month</source>
        <translation>翌月の日</translation>
    </message>
    <message>
        <source>A day the month does not have becomes its last day.</source>
        <translation>その月にない日は、その月の末日になります。</translation>
    </message>
    <message>
        <source>Payment due:</source>
        <translation>お支払期限：</translation>
    </message>
    <message>
        <source>The next invoice dated today, from the office&apos;s server: %1</source>
        <translation>今日付の次の請求書（事務所のサーバーから）：%1</translation>
    </message>
    <message>
        <source>No number can be proposed now. %1</source>
        <translation>いま番号を提案できません。%1</translation>
    </message>
    <message>
        <source> mm</source>
        <translation> mm</translation>
    </message>
    <message>
        <source>Address block, millimetres to the right</source>
        <translation>宛名の位置、右へのミリ数</translation>
    </message>
    <message>
        <source>Address block, millimetres down</source>
        <translation>宛名の位置、下へのミリ数</translation>
    </message>
    <message>
        <source>Print Calibration Sheet…</source>
        <translation>位置合わせ用紙を印刷…</translation>
    </message>
    <message>
        <source>right</source>
        <translation>右へ</translation>
    </message>
    <message>
        <source>down</source>
        <translation>下へ</translation>
    </message>
    <message>
        <source>Address block:</source>
        <translation>宛名の位置:</translation>
    </message>
    <message>
        <source>An invoice whose customer has an address shows it at the top left, for the window of a 長形3号 envelope. Move it to fit your envelopes; print the calibration sheet to check.</source>
        <translation>顧客の住所がある請求書では、長形3号の窓付き封筒に合わせて宛名を左上に印刷します。お使いの封筒に合わせて位置を調整し、位置合わせ用紙を印刷して確かめてください。</translation>
    </message>
    <message>
        <source>Money I receive is outside business (営業に関しない)</source>
        <translation>受け取る金銭は営業に関しない</translation>
    </message>
    <message>
        <source>Receipts:</source>
        <translation>領収書:</translation>
    </message>
    <message>
        <source>A paper receipt of ¥50,000 or more needs a revenue stamp, unless the money is received outside business, as a salaried person selling their own things.</source>
        <translation>5万円以上の紙の領収書には収入印紙が要ります。ただし、給与所得者が私物を売るときのように、営業に関しない受取りなら要りません。</translation>
    </message>
</context>
<context>
    <name>seikyu::RemarksPanel</name>
    <message>
        <source>Remarks</source>
        <translation>備考</translation>
    </message>
    <message>
        <source>A few lines under the item table: who pays the transfer fee, the project&apos;s name. Leave it empty for an invoice without remarks.</source>
        <translation>明細表の下に書く数行の備考です。振込手数料の負担や案件名などを書きます。備考がないときは空にします。</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>seikyu::ServerSession</name>
    <message numerus="yes">
        <source>The ledger&apos;s server did not answer within %n second(s).</source>
        <translation>
            <numerusform>台帳のサーバーは %n 秒以内に応答しませんでした。</numerusform>
        </translation>
    </message>
    <message>
        <source>Stop Waiting</source>
        <translation>待つのをやめる</translation>
    </message>
    <message>
        <source>Ledger&apos;s server</source>
        <translation>台帳のサーバー</translation>
    </message>
</context>
<context>
    <name>seikyu::ServerSetupDialog</name>
    <message>
        <source>Set Up Server</source>
        <translation>サーバーを設定</translation>
    </message>
    <message>
        <source>The ledger&apos;s tables will belong to the administrator&apos;s role; the office&apos;s role may only read them, add entries and take numbers, so no one at the office can change or delete what was recorded. An existing ledger is taken over with every entry.</source>
        <translation>台帳のテーブルは管理者のロールの所有となり、事務用のロールには参照、記録の追加、番号の取得だけを許します。事務所の誰も記録を変更・削除できなくなります。既存の台帳はすべての記録を保ったまま引き継ぎます。</translation>
    </message>
    <message>
        <source>Administrator&apos;s connection:</source>
        <translation>管理者の接続：</translation>
    </message>
    <message>
        <source>A password typed here is used for this setup only and never stored.</source>
        <translation>ここに入力したパスワードはこの設定にだけ使い、保存しません。</translation>
    </message>
    <message>
        <source>Office role:</source>
        <translation>事務用のロール：</translation>
    </message>
    <message>
        <source>Set Up</source>
        <translation>設定</translation>
    </message>
    <message>
        <source>Setting up the server…</source>
        <translation>サーバーを設定しています…</translation>
    </message>
</context>
<context>
    <name>seikyu::SharedLedger</name>
    <message>
        <source>Taking a number needs the ledger&apos;s server: %1 Type the number by hand; it is checked when the server answers again.</source>
        <translation>番号の発行には台帳のサーバーが必要です：%1 番号を手で入力してください。サーバーが再び応答したときに確認します。</translation>
    </message>
</context>
<context>
    <name>seikyu::SharedNumbers</name>
    <message>
        <source>Taking a number from the office&apos;s server…</source>
        <translation>事務所のサーバーから番号を取っています…</translation>
    </message>
    <message>
        <source>Looking up the number on the office&apos;s server…</source>
        <translation>事務所のサーバーで番号を調べています…</translation>
    </message>
</context>
<context>
    <name>seikyu::StampPanel</name>
    <message>
        <source>Stamp</source>
        <translation>印鑑</translation>
    </message>
    <message>
        <source>Choose…</source>
        <translation>選択…</translation>
    </message>
    <message>
        <source>No stamp</source>
        <translation>印鑑なし</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>seikyu::TablePanel</name>
    <message>
        <source>Items</source>
        <translation>明細</translation>
    </message>
    <message>
        <source>Add a Row</source>
        <translation>行を追加</translation>
    </message>
    <message>
        <source>Remove Rows</source>
        <translation>行を削除</translation>
    </message>
    <message>
        <source>Add Sum</source>
        <translation>合計を追加</translation>
    </message>
    <message>
        <source>Remove Sum</source>
        <translation>合計を削除</translation>
    </message>
    <message>
        <source>Finalize</source>
        <translation>確定</translation>
    </message>
    <message>
        <source>Work Out Price</source>
        <translation>価格を計算</translation>
    </message>
    <message>
        <source>Works out the current row&apos;s price: unit price × quantity (%1). Clicking a row does the same.</source>
        <translation>今の行の価格（単価 × 個数）を計算します（%1）。行をクリックしても同じです。</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>元に戻す</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>やり直す</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Include Tax</source>
        <translation>消費税を加算</translation>
    </message>
    <message>
        <source>On: the consumption tax is added on top of the prices. Off: the prices include it.</source>
        <translation>オン：消費税を価格に上乗せします。オフ：価格に消費税が含まれています。</translation>
    </message>
    <message>
        <source>10 %</source>
        <translation>10 %</translation>
    </message>
    <message>
        <source>8 %</source>
        <translation>8 %</translation>
    </message>
    <message>
        <source>The invoice&apos;s consumption-tax rate: 10 % is the standard rate since October 2019, 8 % the rate of earlier invoices. Rows of food, drink or newspapers are marked reduced (8 %).</source>
        <translation>この請求書の消費税率です。2019年10月からの標準税率は10 %、8 %は以前の請求書の税率です。飲食料品や新聞の行は軽減税率（8 %）に指定します。</translation>
    </message>
    <message>
        <source>Tax rate</source>
        <translation>税率</translation>
    </message>
    <message>
        <source>&amp;Rate:</source>
        <translation>税率(&amp;R)：</translation>
    </message>
    <message>
        <source>Tax Class</source>
        <translation>税区分</translation>
    </message>
    <message>
        <source>How the selected rows are taxed</source>
        <translation>選んだ行の税区分</translation>
    </message>
    <message>
        <source>Reduced Rate 8 % (※)</source>
        <translation>軽減税率 8 %（※）</translation>
    </message>
    <message>
        <source>Not Taxable (非課税)</source>
        <translation>非課税・不課税</translation>
    </message>
    <message>
        <source>Standard Rate</source>
        <translation>標準税率</translation>
    </message>
    <message>
        <source>Withhold Income Tax (源泉徴収)</source>
        <translation>源泉徴収</translation>
    </message>
    <message>
        <source>For fees paid to an individual: the sums end with the income tax the customer withholds and the amount they pay.</source>
        <translation>個人に支払われる報酬のとき：合計のあとに、取引先が差し引く源泉徴収税と差引請求額を加えます。</translation>
    </message>
    <message>
        <source>Undo “%1” (%2)</source>
        <translation>「%1」を元に戻す（%2）</translation>
    </message>
    <message>
        <source>Nothing to undo</source>
        <translation>元に戻す操作はありません</translation>
    </message>
    <message>
        <source>Redo “%1” (%2)</source>
        <translation>「%1」をやり直す（%2）</translation>
    </message>
    <message>
        <source>Nothing to redo</source>
        <translation>やり直す操作はありません</translation>
    </message>
</context>
<context>
    <name>seikyu::UpdateNotice</name>
    <message>
        <source>Software Update</source>
        <translation>ソフトウェア・アップデート</translation>
    </message>
    <message>
        <source>Open Product Page</source>
        <translation>製品ページを開く</translation>
    </message>
    <message>
        <source>A newer version of %1 is available.</source>
        <translation>%1 の新しいバージョンがあります。</translation>
    </message>
</context>
</TS>
