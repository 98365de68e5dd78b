#pragma once

#include <QFrame>
#include <QImage>

class QMimeData;

namespace seikyu {

/// A preview that takes an image dropped onto it, pasted into it or set from a file.
class ImageWell : public QFrame
{
    Q_OBJECT

public:
    explicit ImageWell(QWidget *parent = nullptr);

    QImage image() const { return m_image; }
    void setImage(const QImage &image);

    /// Decodes image file bytes in any format Qt reads; a null image when they do not decode.
    /// Qt's allocation limit for decoded images stays in force.
    static QImage decode(const QByteArray &bytes);
    /// Reads an image file; a null image when it cannot be read.
    static QImage load(const QString &path);

signals:
    void imageChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    bool takeMimeData(const QMimeData *mime);

    QImage m_image;
};

} // namespace seikyu
