#include "output/OutputRendering.h"

#include "document/Document.h"
#include "document/PageView.h"
#include "page/PageFonts.h"

#include <QFrame>
#include <QLayout>

namespace seikyu {

// A diagnostic log, quiet unless asked for (QT_LOGGING_RULES="seikyu.*.info=true"): a person
// using Seikyu sees no lines on the terminal it was started from.
Q_LOGGING_CATEGORY(lcOutput, "seikyu.output", QtWarningMsg)

OutputRenderingScope::OutputRenderingScope() : m_previous(isRenderingForOutput())
{
    setRenderingForOutput(true);
}

OutputRenderingScope::~OutputRenderingScope()
{
    setRenderingForOutput(m_previous);
}

PaperSizeScope::PaperSizeScope(Document &document) : m_document(document), m_previous(document.zoom())
{
    if (m_previous != 1.0)
        m_document.setZoom(1.0);
}

PaperSizeScope::~PaperSizeScope()
{
    if (m_previous != 1.0)
        m_document.setZoom(m_previous);
}

void preparePageForOutput(Document &document)
{
    QFrame *box = document.main;
    if (!box)
        return;
    box->ensurePolished();
    if (QLayout *layout = box->layout()) {
        layout->activate();
        // A layout of a hidden widget may postpone its geometry; place the sheet ourselves then.
        if (document.page && document.page->geometry() != box->contentsRect())
            layout->setGeometry(box->contentsRect());
    }
}

} // namespace seikyu
