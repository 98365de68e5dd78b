#include "output/OutputRendering.h"

#include "page/PageFonts.h"

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

} // namespace seikyu
