#include "ledger/ProcedureTemplate.h"

#include "sections/RegistrationNumber.h"

#include <QStringList>

namespace seikyu {

QString procedureTemplate(const QString &issuerEntry, const QDate &effective)
{
    const QStringList lines = issuerEntry.split(QLatin1Char('\n'));
    const QString blank = QStringLiteral("＿＿＿＿＿＿＿＿");
    auto field = [&](int at) {
        const QString text = lines.value(at).trimmed();
        return text.isEmpty() ? blank : text;
    };
    const QString name = field(2);
    const QString address = (lines.value(0).trimmed() + QLatin1Char(' ') + lines.value(1).trimmed()).trimmed();
    const QString registration = registrationNumberOf(issuerEntry);
    const QString date =
        effective.isValid()
            ? QStringLiteral("%1年%2月%3日").arg(effective.year()).arg(effective.month()).arg(effective.day())
            : QStringLiteral("　　年　　月　　日");

    QString text;
    text += QStringLiteral("電子取引データの訂正及び削除の防止に関する事務処理規程\n\n");
    text += QStringLiteral("事業者名　%1\n").arg(name);
    text += QStringLiteral("所在地　　%1\n").arg(address.isEmpty() ? blank : address);
    if (!registration.isEmpty())
        text += QStringLiteral("登録番号　%1\n").arg(registration);
    text +=
        QStringLiteral(
            "\n"
            "（目的）\n"
            "第1条　この規程は、電子計算機を使用して作成する国税関係帳簿書類の保存方法の特例に関する法律第7条に定められ"
            "た"
            "電子取引の取引情報に係る電磁的記録の保存義務を適正に履行するために必要な事項を定め、これに基づき保存する"
            "電磁的記録の真実性を確保することを目的とする。\n\n"
            "（適用範囲）\n"
            "第2条　この規程は、%1の全ての者に適用する。\n\n"
            "（管理責任者）\n"
            "第3条　この規程の管理責任者は、%2とする。\n\n"
            "（電子取引の範囲）\n"
            "第4条　この規程において電子取引とは、取引情報が電磁的記録の授受によって行われる取引をいい、請求書を"
            "PDFファイルにより電子メール等で送付する取引を含む。\n\n"
            "（取引データの保存）\n"
            "第5条　取引先に発行した請求書のPDFファイルは、請求書作成ソフトウェア「Seikyu」の発行済み請求書台帳に"
            "記録し、その写しを台帳の保存フォルダに、取引年月日、取引先、取引金額及び請求書番号を含むファイル名で"
            "保存する。\n\n"
            "（保存期間）\n"
            "第6条　前条の記録及び写しは、取引の属する事業年度の確定申告書の提出期限の翌日から7年間保存する。\n\n"
            "（対象となるデータ）\n"
            "第7条　保存する取引データは、請求書の発行日時、発行方法、表題、請求書番号、取引年月日、取引先、取引金額、"
            "税率ごとの対価の額及び消費税額、支払期日並びにPDFファイルのハッシュ値とする。\n\n"
            "（訂正削除の原則禁止）\n"
            "第8条　保存する取引データの訂正及び削除は、原則として禁止とする。台帳は記録の変更及び削除を受け付けず、"
            "各記録に直前の記録のハッシュ値を含めることにより、事後の変更を検出できるものとする。\n"
            "２　台帳を事務所のサーバーで共有する場合は、台帳のテーブルを管理用のロールの所有とし（「seikyu "
            "--ledger-setup」又は「サーバーを設定」）、事務に用いるロールには記録の参照及び追加のみを許す。管理用の"
            "ロールは管理責任者のみが使用する。\n\n"
            "（訂正削除を行う場合）\n"
            "第9条　業務処理上やむを得ない理由により取引データを訂正又は削除する必要が生じた場合は、元の記録を残した"
            "まま、対象の記録、訂正又は取消の理由及び日付を含む取消の記録を台帳に追加し、管理責任者の承認を得る。\n"
            "２　管理責任者は、前項の処理の内容を記録し、当該取引データの保存期間が満了するまで保存する。\n\n"
            "（検証）\n"
            "第10条　管理責任者は、定期的に台帳の検証（「台帳を検証」）を行い、記録又は保存したPDFファイルの変更が"
            "見つかった場合は、その内容と対応を記録する。\n\n"
            "（検索及び提示）\n"
            "第11条　税務職員から求めがあった場合は、取引年月日、取引金額及び取引先により検索した結果を画面に表示し、"
            "又はCSVファイルとしてダウンロードして提示する。\n\n"
            "附則\n"
            "（施行）\n"
            "この規程は、%3から施行する。\n")
            .arg(name, name == blank ? blank : QStringLiteral("%1の代表者").arg(name), date);
    return text;
}

} // namespace seikyu
