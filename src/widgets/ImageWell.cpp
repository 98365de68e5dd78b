#include "widgets/ImageWell.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QImageReader>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>

namespace seikyu {

ImageWell::ImageWell(QWidget *parent) : QFrame(parent)
{
    setAcceptDrops(true);
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::StyledPanel);
    setMinimumSize(140, 140);
}

void ImageWell::setImage(const QImage &image)
{
    m_image = image;
    update();
    emit imageChanged();
}

QImage ImageWell::decode(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return {};
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    QImage image = reader.read();
    return image;
}

QImage ImageWell::load(const QString &path)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    return reader.read();
}

void ImageWell::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect area = contentsRect().adjusted(6, 6, -6, -6);
    if (m_image.isNull()) {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, tr("Drop or paste a stamp image here"));
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSize fitted = m_image.size().scaled(area.size(), Qt::KeepAspectRatio);
    QRect target(QPoint(0, 0), fitted);
    target.moveCenter(area.center());
    painter.drawImage(target, m_image);
}

bool ImageWell::takeMimeData(const QMimeData *mime)
{
    if (!mime)
        return false;
    QImage image;
    if (mime->hasImage())
        image = qvariant_cast<QImage>(mime->imageData());
    if (image.isNull() && mime->hasUrls()) {
        for (const QUrl &url : mime->urls()) {
            if (url.isLocalFile()) {
                image = load(url.toLocalFile());
                if (!image.isNull())
                    break;
            }
        }
    }
    if (image.isNull()) {
        for (const QString &format : mime->formats()) {
            if (format.startsWith(QLatin1String("image/"))) {
                image = decode(mime->data(format));
                if (!image.isNull())
                    break;
            }
        }
    }
    if (image.isNull())
        return false;
    setImage(image);
    return true;
}

void ImageWell::dragEnterEvent(QDragEnterEvent *event)
{
    const QMimeData *mime = event->mimeData();
    if (mime->hasImage() || mime->hasUrls())
        event->acceptProposedAction();
}

void ImageWell::dropEvent(QDropEvent *event)
{
    if (takeMimeData(event->mimeData()))
        event->acceptProposedAction();
}

void ImageWell::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Paste)) {
        takeMimeData(QApplication::clipboard()->mimeData());
        return;
    }
    if (event->matches(QKeySequence::Delete) || event->key() == Qt::Key_Backspace) {
        setImage({});
        return;
    }
    QFrame::keyPressEvent(event);
}

void ImageWell::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    QFrame::mousePressEvent(event);
}

} // namespace seikyu
