#include "help/HelpTopics.h"

#include "help/HelpSearch.h"

#include <QCoreApplication>
#include <algorithm>
#include <iterator>

namespace seikyu {

namespace {

// The English texts are the translation keys; QT_TRANSLATE_NOOP lets lupdate find them.
struct TopicSource
{
    const char *head;
    const char *body;
    const char *more = nullptr; ///< a paragraph of our own after the body
};

/// The words people search for, per topic in the order of TopicSources, separated by "|". They are
/// what users type in either language, so they are not translated.
constexpr const char16_t *TopicKeywords[] = {
    u"PDF|請求書|invoice|export|エクスポート|書き出し|出力|保存|印刷|print",
    u"ガイド|枠|青|blue|frame",
    u"タイトル|件名|日付|宛名|宛先|取引先|顧客|会社名|発行者|自社|住所|電話|印鑑|判子|ハンコ|印影|押印|title|date|"
    u"customer|address|issuer|stamp|seal",
    u"明細|品目|項目|単価|数量|個数|金額|小計|合計|行|表|セル|row|cell|item|quantity|price|total",
    u"金額|値引|値引き|割引|マイナス|全角|端数|小数|円|discount|minus|yen|fraction",
    u"インボイス|インボイス制度|適格請求書|適格請求書発行事業者|登録番号|消費税|税率|軽減税率|8%|10%|税込|税抜|内税|"
    u"外税|非課税|invoice system|qualified invoice|registration|consumption tax|reduced rate|tax",
    u"請求書番号|請求番号|番号|連番|採番|No.|numbering|serial",
    u"支払期限|支払期日|期日|期限|お支払|締め|月末|振込期限|due|deadline|payment",
    u"備考|振込|振込先|振込手数料|口座|銀行|メモ|注記|note|memo|bank|transfer",
    u"長い|複数ページ|ページ|改ページ|続き|ページ番号|long|pages|page number|continuation",
    u"複製|複写|翌月|来月|毎月|コピー|copy|duplicate|next month",
    u"源泉|源泉徴収|源泉徴収税|所得税|復興特別所得税|報酬|差引請求額|フリーランス|個人|withholding|income tax|"
    u"freelance",
    u"貼り付け|ペースト|表計算|エクセル|Excel|Calc|CSV|取り込み|インポート|読み込み|Shift_JIS|paste|spreadsheet|import",
    u"デジタルインボイス|電子インボイス|Peppol|ペポル|JP PINT|XML|UBL|PDF/A|e-invoice|電子アドレス|法人番号",
    u"台帳|発行済み|発行済|履歴|入金|未入金|入金済|取消|電子帳簿保存法|電帳法|事務処理規程|検索|ledger|issued|payment|"
    u"unpaid|void|verify|改ざん|指紋|フィンガープリント|fingerprint|tamper|anchor",
    u"共有|事務所|サーバー|PostgreSQL|ポスグレ|複数人|連番|送信待ち|shared|server|office|network",
    u"破損|壊れた|復旧|復元|修復|退避|台帳|damaged|corrupt|broken|recover|repair",
    u"見積書|見積|御見積|見積番号|有効期限|作成|次の書類|quotation|quote|estimate|make|next document",
    u"納品書|納品|納品日|金額なし|単価なし|数量|delivery slip|delivery|without prices",
    u"領収書|領収証|レシート|但し書き|収入印紙|印紙|印紙税|入金|receipt|revenue stamp|payment",
    u"合計請求書|月締め|締め日|締日|締め|繰越|前回御請求額|御入金額|今回御請求額|月次|monthly|statement|closing|"
    u"carried|balance",
};

constexpr TopicSource TopicSources[] = {
    {QT_TRANSLATE_NOOP("HelpPanel", "Summary"),
     QT_TRANSLATE_NOOP("HelpPanel", "Generate a common style invoice in Japanese. Supposed to be exported as PDF.")},
    {QT_TRANSLATE_NOOP("HelpPanel", "Guide border"),
     QT_TRANSLATE_NOOP("HelpPanel", "Click each part surrounded by blue border to see dialog. When you finish editing "
                                    "and click OK, blue border goes away.")},
    {QT_TRANSLATE_NOOP("HelpPanel", "Editable parts"),
     QT_TRANSLATE_NOOP(
         "HelpPanel",
         "Above left, you can select Title. Above right, a date. Second row, a customer's name. Third row left, "
         "total sum, which you should edit later. Third row right, your info. Under your info, choose a stamp. "
         "You can also select not to use this.")},
    {QT_TRANSLATE_NOOP("HelpPanel", "Table"),
     QT_TRANSLATE_NOOP(
         "HelpPanel",
         "Edit a table below by double-clicking on each cell. With \"Include Tax\" checked, sum includes taxes. "
         "When you add \"単価\" and \"個数\", click on spaces inside the row to add sum into \"合計\" cell. When "
         "you've done all the input, click \"Add Sum\" to add rows with sums at the bottom."),
     QT_TRANSLATE_NOOP(
         "HelpPanel",
         "From the keyboard: on the page, Tab moves from region to region and Space or Return opens one. In the "
         "table, Return or F2 edits a cell, Ctrl+Return works out the price of the current row as a click does, "
         "and Tab moves on to the buttons. Ctrl+Z and Ctrl+Shift+Z (or Undo and Redo in the panel) undo and redo "
         "while the table is open. Cancel or Esc puts the table back as it was when you opened it; Undo brings "
         "your edits back.")},
    {QT_TRANSLATE_NOOP("HelpPanel", "Amounts"),
     QT_TRANSLATE_NOOP(
         "HelpPanel",
         "Type amounts as you like, with or without ￥ and commas, in full-width digits too. A minus before an "
         "amount (-, －, △ or ▲) makes it a discount. A quantity may have a fraction, such as 1.5 days: the price "
         "is rounded to whole yen. Add Sum prices the rows you typed but never clicked, and replaces earlier sums, "
         "so every item counts once. From then on the sums follow every change of the table, in the same undo "
         "step, and a new row goes above them. When the total changes after the invoice amount took it, the amount's "
         "blue "
         "border comes back and exporting asks whether to update it.")},
    {QT_TRANSLATE_NOOP("HelpPanel", "Tax rates and the qualified invoice"),
     QT_TRANSLATE_NOOP(
         "HelpPanel",
         "The table panel's Rate is the invoice's consumption-tax rate: 10 %, the standard rate since October "
         "2019, or 8 %, the rate of earlier invoices. Preferences choose the rate of new invoices and how the tax "
         "is rounded, once per rate. On a 10 % invoice, mark food, drink and newspapers with Tax Class, Reduced "
         "Rate 8 % (Ctrl+R): the row shows ※, explained under the table. Not Taxable (Ctrl+E) leaves a row out of "
         "the tax. With more than one rate the sums state each rate's total and tax. Enter your registration "
         "number (登録番号, T and 13 digits) as the last field of your details: the invoice then becomes a "
         "qualified invoice (適格請求書), showing the number and every rate's total and tax.")},
    {QT_TRANSLATE_NOOP("HelpPanel", "Invoice number"),
     QT_TRANSLATE_NOOP(
         "HelpPanel",
         "Click under the date, at the right, to give the invoice a number; it shows as \"No. 2026-0012\". The "
         "panel offers the next number of your sequence, and you may type any other. Edit ▸ Preferences sets the "
         "pattern: {yyyy} is the year of the invoice date, {yy} its last two digits, {0000} the sequence with as "
         "many digits as zeros. With the year in the pattern, each year starts again at 1. The sequence moves on "
         "only when an offered number goes onto an invoice; a number you type yourself leaves it as it is. An "
         "invoice with a number is saved and exported under that number. Leave the field empty for no number.")},
    {QT_TRANSLATE_NOOP("HelpPanel", "Payment due date"),
     QT_TRANSLATE_NOOP(
         "HelpPanel",
         "Click under the invoice amount to show when the customer is to pay (お支払期限). The panel proposes a "
         "date from the invoice date by your usual terms, set in Preferences: the end of the following month, 30 "
         "days after the invoice date, or a fixed day of the following month (a day the month does not have becomes "
         "its last day). The due date is shown like the invoice date, in the Western calendar or the Japanese era. "
         "Untick \"Show a payment due date\" to take it away. A due date before the invoice date is framed in blue "
         "until you put it right.")},
    {QT_TRANSLATE_NOOP("HelpPanel", "Remarks"),
     QT_TRANSLATE_NOOP(
         "HelpPanel",
         "Click under the item table to add a few lines of remarks (備考): who pays the transfer fee, the project's "
         "name. They print in a box under the table, set smaller and wrapped when they are long, and the table "
         "makes room for them on a one-page invoice. Empty remarks print nothing.")},
    {QT_TRANSLATE_NOOP("HelpPanel", "Long invoices"),
     QT_TRANSLATE_NOOP(
         "HelpPanel",
         "A table too long for one page goes on over further pages, at full size. Each further page says whose "
         "invoice it is (title, customer, date and number) and repeats the table's header row; every page shows "
         "its number, such as 2 / 3, at its foot. Rows never split across pages, the sums follow the last item, "
         "and the ※ legend and the remarks come after the sums. The window shows every page one below the other; "
         "click the table on any page to edit it. Print can print a range of the pages.")},
    {QT_TRANSLATE_NOOP("HelpPanel", "Duplicate"),
     QT_TRANSLATE_NOOP(
         "HelpPanel",
         "File ▸ Duplicate (Ctrl+Shift+D) makes next month's invoice from the one in front of you: a new, unsaved "
         "invoice with the same title, customer, details, items and remarks, dated a month after the original (the "
         "31st becoming the last day of a shorter month, a month's last day the next month's last), or on the date "
         "you set in the dialog. Where the original has a number and a due date, the copy gets the next number for "
         "its date, and its due date moves on by as many months as the invoice date. The sums rows and the invoice "
         "amount are kept only if you tick \"Keep the sums rows and the invoice amount\"; Seikyu remembers your "
         "choice. With \"Move the rows' dates with the invoice date\" (on unless you turn it off) a row dated 4/30 "
         "or ４月３０日 moves by as many months as the invoice date, the 31st becoming the last day of a shorter "
         "month; other texts stay. Until the copy is saved, changing its date offers to move the rows' dates and the "
         "due date with it. The original stays as it is.")},
    {QT_TRANSLATE_NOOP("HelpPanel", "Withholding tax"),
     QT_TRANSLATE_NOOP(
         "HelpPanel",
         "For fees paid to an individual (design, writing, lectures and the like) the customer withholds income "
         "tax (源泉徴収) and pays the rest. Tick \"Withhold Income Tax\" in the item table's panel: after 合計 the "
         "sums show 源泉徴収税, as a negative amount, and 差引請求額, what the customer pays, which the invoice "
         "amount then takes. The tax is 10.21 % of the amount up to ¥1,000,000 and 20.42 % of the part above it "
         "plus ¥102,100, fractions of a yen cut off. It is worked out on the amount before consumption tax when the "
         "tax is added separately, and on the whole amount when the prices include it.")},
    {QT_TRANSLATE_NOOP("HelpPanel", "Rows from a spreadsheet or a CSV file"),
     QT_TRANSLATE_NOOP(
         "HelpPanel",
         "Copy cells in LibreOffice Calc, Excel or a web spreadsheet, open the item table and press Ctrl+V (or "
         "choose Edit ▸ Paste Rows): each line becomes a row after the current row (after the last item when no row "
         "is chosen), as one step that Undo takes back. The columns are taken by name when the first line names "
         "them (日付, 品名, 単価, 数量, 金額 …), otherwise by what they hold (dates, the description, unit price × "
         "quantity = price); when that leaves a doubt, Seikyu asks as it does for a file. Amounts are read as you type "
         "them, and a row with a unit price and a quantity but no price is priced. Text without tabs goes into the "
         "current cell. File ▸ Import Rows… reads a CSV file in UTF-8 or Shift_JIS (as Japanese Excel saves it), "
         "shows its first lines, lets you choose the table column of each of its columns, adds the rows after the "
         "items and says which lines it skipped and why."),
     QT_TRANSLATE_NOOP(
         "HelpPanel",
         "A column headed 税率, 軽減, 税区分 or ※ gives each row its tax class: 8 %, 軽減 or ※ the reduced "
         "rate, 10 % the standard rate, 非課税 or 対象外 no tax. Without one every row is at the invoice's "
         "rate; mark the reduced rows afterwards with Ctrl+R. A row whose quantity or unit price is no "
         "number, or whose price is not unit price × quantity, is shown with the reason before it goes "
         "in: take such rows as written or leave them out. Columns that go nowhere are named.")},
    {QT_TRANSLATE_NOOP("HelpPanel", "e-Invoice (JP PINT)"),
     QT_TRANSLATE_NOOP(
         "HelpPanel",
         "File > Export e-Invoice (JP PINT) writes the invoice as Japan's standard e-invoice, an XML file the "
         "customer's accounting system reads without retyping. It needs an invoice number, your registration "
         "number, a table that ends with its sums, and the customer's electronic address: type it in the Customer "
         "panel as 0188: and the corporate number (法人番号) or 0221: and the registration number; it is kept with "
         "the customer. Every amount, rate and tax is the page's own; prices that include the tax are stated "
         "without it, adding up to the same totals. With withholding, the e-invoice asks for 合計 and states the "
         "withheld tax and 差引請求額 in its note. With File > Attach the e-Invoice (PDF/A-3) ticked, Export as PDF "
         "writes a PDF/A-3 that looks the same and carries the XML inside.")},
    {QT_TRANSLATE_NOOP("HelpPanel", "Issued invoices (the ledger)"),
     QT_TRANSLATE_NOOP(
         "HelpPanel",
         "Every invoice you export as PDF, print, or export with seikyu --export-pdf is recorded in the ledger of "
         "issued invoices: when and how it was issued, its title, number, date, customer, your registration number, "
         "the amount asked for, each rate's total and tax, the withholding, the due date and the invoice file. A "
         "copy of each PDF is kept in the archive folder beside the ledger, named date_customer_amount_number.pdf, "
         "with its SHA-256 hash. Window > Issued Invoices (Ctrl+Shift+I) lists them, newest first. Search by a date "
         "range, an amount range, part of the customer's name (full-width and half-width letters alike), the number "
         "and the status; the conditions combine, any column sorts, and the line under the table totals the amount "
         "and what is still owed. Record Payment adds a payment (partial payments add up); Void marks a mistaken "
         "entry with your reason. Download CSV saves what is shown, for the tax office or a spreadsheet; seikyu "
         "--ledger prints the same from the command line."),
     QT_TRANSLATE_NOOP(
         "HelpPanel",
         "Nothing in the ledger is ever changed or deleted: a correction is a new entry, and the database refuses "
         "changes. Each entry carries a hash over everything stored with it and over the entry before it, and each "
         "computer keeps the newest entry it recorded or saw in ledger-anchor.json beside the archive folder. So "
         "Verify Ledger (also seikyu --ledger --verify) reports any entry or archived PDF changed outside Seikyu, "
         "and, as long as this computer's anchor file is kept, deleted newest entries, an older copy of the ledger "
         "put back, and hashes recomputed after a change; on a shared ledger, every computer that saw the later "
         "entries reports it. Verify Ledger also shows the ledger's fingerprint (its newest entry and the start of "
         "its hash): note it at each monthly closing, so that the entries up to it can be checked later. Not "
         "detected: someone who can write the database and also replaces this computer's anchor file, when no "
         "other computer saw the ledger and no fingerprint was noted; and entries added with correct hashes after "
         "the last anchor or noted fingerprint by someone who can write the database. The ledger is evidence, not "
         "a certification. This answers the search and download requirements for invoices kept as data "
         "(電子帳簿保存法), but the ledger carries no certified timestamp: keep rules for preventing corrections and "
         "deletions (事務処理規程). Record-Keeping Rules in the Issued "
         "Invoices window gives a ready template filled in from your details. The ledger lives in your data folder "
         "(~/.local/share/Seikyu/Seikyu); keep it and its archive folder for seven years, and back them up.")},
    {QT_TRANSLATE_NOOP("HelpPanel", "A ledger shared by the office"),
     QT_TRANSLATE_NOOP(
         "HelpPanel",
         "When several people issue invoices, Edit ▸ Preferences ▸ Ledger can put the ledger on the office's "
         "PostgreSQL server: choose \"Shared server (PostgreSQL)\" and give a libpq connection string or URI, such "
         "as host=db.office dbname=seikyu user=taro or postgresql://taro@db.office/seikyu. Seikyu never stores a "
         "password: put it in PostgreSQL's password file (~/.pgpass) or service file (~/.pg_service.conf). Test "
         "Connection says what is wrong: no server, a refused password, no such database, a database that is not a "
         "Seikyu ledger, or one set up by a newer Seikyu. Seikyu sets up an empty database itself. Copy My Local "
         "Ledger to the Server brings your earlier entries over; running it again copies nothing twice. Everyone "
         "then sees the whole office's invoices and who issued each. When the server does not answer, Seikyu does "
         "not wait for it: exports and prints still work, their entries wait on your computer and are sent as soon "
         "as the server answers again (the Issued Invoices window says how many wait). Payments and voids need the "
         "server, as they are recorded against what it holds. An entry the server refuses when it arrives is kept "
         "aside on your computer, neither lost nor sent again, and the Issued Invoices window lists it, so you can "
         "record it again if it still applies. Each computer keeps the PDFs it issued in its own archive, so "
         "Verify Ledger checks every entry, but the archived PDFs only of the invoices issued on this computer, "
         "and says how many others are kept on the computers that issued them. The environment variable "
         "SEIKYU_LEDGER, set to a URI, chooses the server for scripts and the command line.")},
    {QT_TRANSLATE_NOOP("HelpPanel", "A damaged ledger"),
     QT_TRANSLATE_NOOP(
         "HelpPanel",
         "A disk fault, a crash or another program can damage the ledger's file. Seikyu never replaces or moves a "
         "damaged ledger by itself: the Issued Invoices window and seikyu --ledger only read it, and recording "
         "into it fails, naming the file, so nothing is hidden. Verify Ledger runs SQLite's own check of the file "
         "and of its write-ahead log, and names a damaged file, a ledger set aside earlier "
         "(ledger.sqlite.damaged-…) and any archived PDF no entry names. Recover… in the Issued Invoices window "
         "(Window > Recover Ledger…, or seikyu --ledger --recover FILE) reads what can still be read of a damaged "
         "ledger, entry by entry, takes each entry whose hash chain holds, with its own date and time, and names "
         "those it could not read or trust; running it again takes nothing twice. Choosing the ledger itself sets "
         "it aside beside the new one first. Keep the file set aside somewhere safe outside the ledger's folder "
         "once its entries are back.")},
    {QT_TRANSLATE_NOOP("HelpPanel", "Quotations (見積書)"),
     QT_TRANSLATE_NOOP(
         "HelpPanel",
         "A quotation shows 御見積金額, 見積番号 and how long it is valid (有効期限) where an invoice shows its due "
         "date; 納期, 納入場所 and 支払条件 go in its remarks. File ▸ Make Delivery Slip, Make Invoice and Make "
         "Receipt open the next document of a sale in a new window: the customer, the rows with their rates and "
         "sums and the amount come along, the date is today's and the number is the next of the kind's own "
         "sequence (Q for quotations, D for delivery slips, R for receipts, each counted apart from your "
         "invoices). Each kind chooses its title from a list of its own.")},
    {QT_TRANSLATE_NOOP("HelpPanel", "Delivery slips (納品書)"),
     QT_TRANSLATE_NOOP(
         "HelpPanel",
         "A delivery slip says 下記の通り納品いたしました under its amount. Click that line to leave its prices off "
         "the paper (items and quantities only): the file and the ledger keep every price, and the monthly invoice "
         "bills them. A delivery slip is recorded in the ledger, but nothing is owed on it.")},
    {QT_TRANSLATE_NOOP("HelpPanel", "Receipts (領収書)"),
     QT_TRANSLATE_NOOP(
         "HelpPanel",
         "A receipt says 上記正に領収いたしました, with its 但し書き under the table. The receipt of a paid invoice "
         "(File ▸ Make Receipt, or Make Receipt in Window ▸ Issued Invoices) is dated the day it was paid and tied "
         "to that payment in the ledger. For a payment of part of the invoice it states the part received, with "
         "the tax within it at the invoice's rate."),
     QT_TRANSLATE_NOOP(
         "HelpPanel",
         "Click a receipt's stamp region, at the right above your details, to say whether it is handed over on "
         "paper or sent electronically. On paper, a receipt of ¥50,000 or more, without the tax it states, needs a "
         "revenue stamp (収入印紙): the page says how much and leaves a box for it. A receipt sent electronically "
         "needs none. If the money you receive is outside business (営業に関しない), say so in Edit ▸ Preferences: "
         "such receipts need no stamp.")},
    {QT_TRANSLATE_NOOP("HelpPanel", "The monthly invoice (合計請求書)"),
     QT_TRANSLATE_NOOP(
         "HelpPanel",
         "File ▸ Make Monthly Invoice… bills a customer's delivery slips of a closing period on one invoice. Give "
         "the customer and the period (the one their closing day last ended, from the customer book); the invoice "
         "lists each slip recorded in the ledger for that period and not billed yet, with its items or as one line, "
         "works out each rate's tax once over the whole period, and carries the balance: 前回御請求額 (what was "
         "owed when the previous monthly invoice was issued), 御入金額 (paid since) and 繰越金額. 御請求金額 is "
         "the balance carried with the period's total, and the remarks state all six figures."),
     QT_TRANSLATE_NOOP(
         "HelpPanel",
         "Once issued, its slips are billed and no later monthly invoice lists them again; the ledger owes the "
         "period's total, as the carried balance is still owed on the invoices that billed it. Void it in Issued "
         "Invoices to make it again. From a script: seikyu --monthly-invoice OUT.seikyu --customer NAME --period "
         "2026-11-01..2026-11-30.")},
};

static_assert(std::size(TopicKeywords) == std::size(TopicSources), "one keyword list per topic");

} // namespace

QList<HelpTopic> helpTopics()
{
    // Looked up on every call rather than cached, so a language installed later applies.
    QList<HelpTopic> topics;
    for (std::size_t i = 0; i < std::size(TopicSources); ++i) {
        const TopicSource &source = TopicSources[i];
        QString body = QCoreApplication::translate("HelpPanel", source.body);
        if (source.more)
            body += QStringLiteral("\n\n") + QCoreApplication::translate("HelpPanel", source.more);
        topics.append({QCoreApplication::translate("HelpPanel", source.head), body,
                       QString::fromUtf16(TopicKeywords[i]).split(QLatin1Char('|'))});
    }
    return topics;
}

QList<HelpTopic> filterHelpTopics(const QList<HelpTopic> &topics, const QString &search)
{
    const QString key = helpSearchKey(search);
    if (key.isEmpty())
        return topics;
    QList<HelpTopic> kept;
    for (const HelpTopic &topic : topics) {
        const auto found = [&key](const QString &text) { return helpTextContains(text, key); };
        if (found(topic.head) || found(topic.body) ||
            std::any_of(topic.keywords.cbegin(), topic.keywords.cend(), found))
            kept.append(topic);
    }
    return kept;
}

} // namespace seikyu
