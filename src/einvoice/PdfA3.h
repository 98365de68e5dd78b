#pragma once

#include "base/Result.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace seikyu {

/// A file a PDF carries for programs to read, beside the page people read.
struct PdfAttachment
{
    QString name;        ///< the file name shown in a reader's attachments ("INV-001.xml")
    QByteArray bytes;    ///< the file itself, carried unchanged
    QString mimeType;    ///< "text/xml"
    QString description; ///< one line for the reader's attachment list
    QDateTime modified;  ///< when the file was made
};

/// Where the sRGB colour profile of the output intent is read from (Debian icc-profiles-free).
QString srgbProfilePath();

/// The page's PDF made a PDF/A-3b that carries the attachment as its alternative representation
/// (an associated file): an sRGB output intent, XMP metadata that declares PDF/A-3B and repeats
/// the document information, the file as an embedded file stream with its MIME type and date,
/// listed in the catalog's /AF and its EmbeddedFiles, and every stream ending on its own line.
/// Nothing of the pages is touched, so they show and extract as the PDF given. A fault when the
/// profile is missing or damaged (NotFound) or the PDF cannot be read (BadInput, what qpdf said as
/// its detail).
Result<QByteArray> makePdfA3(const QByteArray &pdf, const PdfAttachment &attachment, const QByteArray &iccProfile);

} // namespace seikyu
