// Arbitrary bytes as a stamp image (pasted, dropped, or stored in the settings by an older
// version) and as the update file downloaded from the product page: neither may crash, and the
// decoder must honour its allocation limit instead of trusting a header's claimed size.
#include "FuzzSupport.h"
#include "update/UpdateDecision.h"
#include "widgets/ImageWell.h"

#include <QByteArray>
#include <QImage>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace seikyu;

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::startApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));

    const QImage image = ImageWell::decode(bytes);
    // Qt refuses images above 256 MB by default; a stamp that got past that would mean the limit
    // was switched off somewhere and a crafted header could exhaust memory.
    if (!image.isNull() && image.sizeInBytes() > qint64(256) * 1024 * 1024) {
        std::fprintf(stderr, "fuzz_stamp_update: decoded a %lld-byte image\n",
                     static_cast<long long>(image.sizeInBytes()));
        std::abort();
    }

    // The decision is pure: the same bytes must always give the same answer, whatever the running
    // version and system are.
    const bool wanted = updateNoticeWanted(bytes, QStringLiteral("Seikyu"), QStringLiteral("1.0.0"), 1203);
    if (wanted != updateNoticeWanted(bytes, QStringLiteral("Seikyu"), QStringLiteral("1.0.0"), 1203))
        std::abort();
    if (updateNoticeWanted(bytes, QStringLiteral("Seikyu"), QString(), 1203)) {
        std::fprintf(stderr, "fuzz_stamp_update: a notice for an application without a version\n");
        std::abort();
    }
    updateNoticeWanted(bytes, QStringLiteral("Seikyu"), QStringLiteral("9.9"), 0);
    updateNoticeWanted(bytes, QString(), QStringLiteral("1.0.0"), 2147483647);
    return 0;
}
