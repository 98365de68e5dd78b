#pragma once

#include <QLoggingCategory>

namespace seikyu {

class Document;

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

/// While alive, the document's page is at paper size (zoom 1), whatever the window shows: a PDF
/// or a printout never depends on the zoom. The zoom comes back afterwards.
class PaperSizeScope
{
public:
    explicit PaperSizeScope(Document &document);
    ~PaperSizeScope();
    PaperSizeScope(const PaperSizeScope &) = delete;
    PaperSizeScope &operator=(const PaperSizeScope &) = delete;

private:
    Document &m_document;
    double m_previous;
};

/// Lays the page box out even when its window was never shown (headless export), so that every
/// region has its place on the sheet before it is rendered.
void preparePageForOutput(Document &document);

} // namespace seikyu
