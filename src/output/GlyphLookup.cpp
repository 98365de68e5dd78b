// FreeType's FT_Get_Char_Index, FT_Done_Face, FT_Done_Library and FT_Done_FreeType, defined by the
// program itself: the libraries (Qt, HarfBuzz, fontconfig) call these, which call FreeType's own
// (the next definition in the search order). FT_Get_Char_Index answers from a table once
// useGlyphLookupTables() was called; the three others only note that a face may have gone, so
// that no table outlives the face it was read from.
#include "output/GlyphLookup.h"

#include <QScopeGuard>
#include <atomic>
#include <cstdint>
#include <dlfcn.h>
#include <ft2build.h>
#include <memory>
#include FT_FREETYPE_H

namespace seikyu {

namespace {

/// The characters a table holds: the Basic Multilingual Plane, which is what Qt looks up for
/// every embedded font. Others are looked up by FreeType as before.
constexpr FT_ULong TableSize = 0x10000;
/// One code in so many is looked up in the font again once a table is read: a table that differs
/// from FreeType's own answers is not used.
constexpr FT_ULong CheckStep = 97;
/// The tables a thread keeps at most: a page uses two faces.
constexpr size_t MaxTables = 16;

template <typename Function> Function freetypes(const char *name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

FT_UInt freetypeCharIndex(FT_Face face, FT_ULong code)
{
    static const auto next = freetypes<FT_UInt (*)(FT_Face, FT_ULong)>("FT_Get_Char_Index");
    return next ? next(face, code) : 0;
}

std::atomic<bool> tablesInUse{false};
/// Counts the faces that may have been freed: a face made later at the same address is another
/// face, so a table read before is read again.
std::atomic<std::uint64_t> facesDone{0};

/// One face's character map as a table: the glyph of each character, 0 for none. Plain data, so
/// that a lookup made while the thread ends still finds valid storage.
struct Table
{
    FT_Face face;
    FT_CharMap charmap;
    FT_Long glyphCount;
    std::uint64_t generation;
    FT_UShort *glyphs; ///< TableSize entries; null when the map cannot be a table
};

thread_local Table tables[MaxTables];
thread_local size_t tableCount = 0;

/// Frees the thread's tables as it ends.
struct TablesRelease
{
    ~TablesRelease()
    {
        for (size_t i = 0; i < tableCount; ++i)
            delete[] tables[i].glyphs;
        tableCount = 0;
    }
};
thread_local TablesRelease release;
/// Set while a table is read: FreeType's walk over a map calls FT_Get_Char_Index itself, which
/// then goes straight to FreeType.
thread_local bool reading = false;

/// Reads the face's current character map through FreeType's walk over it, which visits every
/// character that has a glyph in ascending order; nothing when it is no Unicode map of a face
/// whose glyphs a table can number, or when FreeType answers a sample of codes otherwise.
std::unique_ptr<FT_UShort[]> readTable(FT_Face face)
{
    if (face->charmap->encoding != FT_ENCODING_UNICODE || face->num_glyphs <= 0 || face->num_glyphs > 0xFFFF)
        return nullptr;
    auto glyphs = std::make_unique<FT_UShort[]>(TableSize); // zeroed: no glyph
    reading = true;
    const auto done = qScopeGuard([] { reading = false; });
    FT_UInt glyph = 0;
    for (FT_ULong code = FT_Get_First_Char(face, &glyph); glyph != 0 && code < TableSize;
         code = FT_Get_Next_Char(face, code, &glyph)) {
        glyphs[code] = FT_UShort(glyph);
    }
    for (FT_ULong code = 0; code < TableSize; code += CheckStep) {
        if (freetypeCharIndex(face, code) != glyphs[code])
            return nullptr;
    }
    return glyphs;
}

/// Whether the table is the one of the face's current map, as read since the face was made.
bool holds(const Table &table, FT_Face face)
{
    return table.face == face && table.charmap == face->charmap &&
           table.generation == facesDone.load(std::memory_order_acquire) && table.glyphCount == face->num_glyphs;
}

/// The table used last by this thread: consecutive lookups are nearly always in one face, as Qt
/// looks up a whole text, or every character.
thread_local const Table *lastUsed = nullptr;

/// The table of the face's current map, read on first use by this thread; its glyphs are null when
/// the map cannot be a table.
const Table &tableOf(FT_Face face)
{
    Table *slot = nullptr;
    for (size_t i = 0; i < tableCount && !slot; ++i) {
        if (tables[i].face == face && tables[i].charmap == face->charmap)
            slot = &tables[i];
    }
    if (!slot) {
        static_cast<void>(&release); // made with the first table, to free them all
        // Past the most a thread keeps, the table read longest ago makes room.
        thread_local size_t oldest = 0;
        slot = &tables[tableCount < MaxTables ? tableCount++ : oldest++ % MaxTables];
    } else if (holds(*slot, face)) {
        lastUsed = slot;
        return *slot;
    }
    lastUsed = nullptr;
    delete[] slot->glyphs; // none in a slot not used before
    // The count before the table is read: a face done meanwhile makes it be read again.
    const std::uint64_t generation = facesDone.load(std::memory_order_acquire);
    *slot = {face, face->charmap, face->num_glyphs, generation, nullptr};
    slot->glyphs = readTable(face).release();
    lastUsed = slot;
    return *slot;
}

/// The lookup when the table used last is not the face's.
[[gnu::noinline]] FT_UInt lookUp(FT_Face face, FT_ULong charcode)
{
    if (tablesInUse.load(std::memory_order_relaxed) && !reading && face && face->charmap && charcode < TableSize) {
        if (const FT_UShort *glyphs = tableOf(face).glyphs)
            return glyphs[charcode];
    }
    return freetypeCharIndex(face, charcode);
}

void faceMayBeGone()
{
    facesDone.fetch_add(1, std::memory_order_acq_rel);
}

} // namespace

void useGlyphLookupTables(bool use)
{
    tablesInUse.store(use, std::memory_order_release);
}

bool glyphLookupTablesInUse()
{
    // Qt's own library resolves the symbol to whichever definition comes first: this one, when
    // the program was linked with it.
    using Lookup = FT_UInt (*)(FT_Face, FT_ULong);
    return tablesInUse.load(std::memory_order_acquire) &&
           reinterpret_cast<Lookup>(dlsym(RTLD_DEFAULT, "FT_Get_Char_Index")) == &FT_Get_Char_Index;
}

} // namespace seikyu

extern "C" {

FT_UInt FT_Get_Char_Index(FT_Face face, FT_ULong charcode)
{
    using namespace seikyu;
    // Kept short, as it runs 65,536 times for each font of each PDF.
    if (const Table *table = lastUsed; table && table->glyphs && charcode < TableSize && holds(*table, face) &&
                                       tablesInUse.load(std::memory_order_relaxed))
        return table->glyphs[charcode];
    return lookUp(face, charcode);
}

FT_Error FT_Done_Face(FT_Face face)
{
    static const auto next = seikyu::freetypes<FT_Error (*)(FT_Face)>("FT_Done_Face");
    seikyu::faceMayBeGone();
    return next ? next(face) : FT_Err_Invalid_Handle;
}

FT_Error FT_Done_Library(FT_Library library)
{
    static const auto next = seikyu::freetypes<FT_Error (*)(FT_Library)>("FT_Done_Library");
    seikyu::faceMayBeGone();
    return next ? next(library) : FT_Err_Invalid_Library_Handle;
}

FT_Error FT_Done_FreeType(FT_Library library)
{
    static const auto next = seikyu::freetypes<FT_Error (*)(FT_Library)>("FT_Done_FreeType");
    seikyu::faceMayBeGone();
    return next ? next(library) : FT_Err_Invalid_Library_Handle;
}

} // extern "C"
