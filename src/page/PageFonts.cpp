#include "page/PageFonts.h"

#include <QStringList>

namespace seikyu {

namespace {
bool renderingForOutput = false;

QFont makeFont(const QString &family, int pixelSize, bool bold)
{
    QFont font(family);
    font.setFamilies(QStringList{family});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferOutline);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}
} // namespace

QFont pageFont(int pixelSize, bool bold)
{
    return makeFont(QStringLiteral("IPAexMincho"), pixelSize, bold);
}

QFont pageGothicFont(int pixelSize, bool bold)
{
    return makeFont(QStringLiteral("IPAexGothic"), pixelSize, bold);
}

QString printableText(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('\n') || (c.category() != QChar::Other_Control && c.category() != QChar::Other_Format))
            out.append(c);
    }
    return out;
}

bool isRenderingForOutput()
{
    return renderingForOutput;
}

void setRenderingForOutput(bool rendering)
{
    renderingForOutput = rendering;
}

} // namespace seikyu
