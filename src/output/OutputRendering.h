#pragma once

#include <QLoggingCategory>

namespace seikyu {

Q_DECLARE_LOGGING_CATEGORY(lcOutput)

/// While alive, widgets draw for paper rather than the screen (no placeholders, hover or
/// selection); the previous state comes back afterwards, so scopes may nest.
class OutputRenderingScope
{
public:
    OutputRenderingScope();
    ~OutputRenderingScope();
    OutputRenderingScope(const OutputRenderingScope &) = delete;
    OutputRenderingScope &operator=(const OutputRenderingScope &) = delete;

private:
    bool m_previous;
};

} // namespace seikyu
