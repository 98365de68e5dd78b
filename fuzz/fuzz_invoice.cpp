// Arbitrary bytes as an invoice file: the reader must refuse or take them without crashing, and
// whatever it takes must set up a window and write a file that reads again, unchanged on a second
// round (a file that opens but does not survive being saved and reopened loses an invoice).
#include "FuzzSupport.h"
#include "document/Document.h"
#include "invoice/InvoiceFile.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace seikyu;

namespace {

[[noreturn]] void fail(const char *what, const QByteArray &first, const QByteArray &second)
{
    std::fprintf(stderr, "fuzz_invoice: %s\n--- first write ---\n%s\n--- second write ---\n%s\n", what,
                 first.constData(), second.constData());
    std::abort();
}

QByteArray openAndWrite(const QByteArray &bytes, bool *read)
{
    Document document;
    *read = document.readFromData(bytes).ok();
    if (!*read)
        return {};
    document.windowControllerDidLoadNib();
    return document.dataOfType();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::startApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const Result<Invoice> parsed = readInvoiceBytes(bytes);
    if (!parsed) {
        if (parsed.message().isEmpty())
            fail("a refused file gives the user no reason", bytes, {});
        return 0;
    }

    fuzz::forgetSettings();
    bool read = false;
    const QByteArray first = openAndWrite(bytes, &read);
    if (!read)
        fail("the document refused a file that the reader took", bytes, {});
    // The lists the first opening taught are what a user reopening the file would have.
    const QByteArray second = openAndWrite(first, &read);
    if (!read)
        fail("a written invoice does not read again", first, {});
    if (second != first)
        fail("saving a reopened invoice changes it", first, second);
    fuzz::settle();
    return 0;
}
