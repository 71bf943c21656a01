// For tests: a page drawn on an enhanced metafile and its records read back. Nothing in the
// program calls this, so the linker leaves it out of the program.
#include "runtime/win32/print.h"

#include "runtime/win32/win32.h"

#include <cmath>
#include <cstddef>
#include <cstring>
#include <map>

namespace clearmark::runtime::win32 {
namespace {

enum class Kind { Font, Pen, Brush };

struct Made {
    Kind kind = Kind::Font;
    DrawnText font; // the height, weight and face
    int penWidth = 0;
    COLORREF colour = 0;
};

struct Reader {
    DrawnPage page;
    std::map<DWORD, Made> objects; // by the metafile's handle number
    std::map<Kind, Made> selected;
    POINT position{};
    int madeCount = 0;
    int deletedCount = 0;

    template <typename T> static T at(const ENHMETARECORD* record, std::size_t offset) {
        T value;
        std::memcpy(&value, reinterpret_cast<const char*>(record) + offset, sizeof value);
        return value;
    }

    void keep(DWORD handle, const Made& object) {
        objects[handle] = object;
        ++madeCount;
    }

    void read(const ENHMETARECORD* record) {
        const auto* bytes = reinterpret_cast<const char*>(record);
        switch (record->iType) {
        case EMR_EXTCREATEFONTINDIRECTW: {
            const auto font = at<LOGFONTW>(record, offsetof(EMREXTCREATEFONTINDIRECTW, elfw));
            Made object{Kind::Font, {}, 0, 0};
            object.font.fontHeight = font.lfHeight;
            object.font.weight = font.lfWeight;
            object.font.face = font.lfFaceName;
            keep(record->dParm[0], object);
            break;
        }
        case EMR_CREATEPEN:
            keep(record->dParm[0],
                 {Kind::Pen, {}, at<LOGPEN>(record, offsetof(EMRCREATEPEN, lopn)).lopnWidth.x, 0});
            break;
        case EMR_EXTCREATEPEN: // recorded as EXTLOGPEN32 whatever the platform's word
            keep(record->dParm[0],
                 {Kind::Pen, {}, int(at<DWORD>(record, offsetof(EMREXTCREATEPEN, elp) + 4)), 0});
            break;
        case EMR_CREATEBRUSHINDIRECT:
            keep(record->dParm[0],
                 {Kind::Brush,
                  {},
                  0,
                  at<LOGBRUSH32>(record, offsetof(EMRCREATEBRUSHINDIRECT, lb)).lbColor});
            break;
        case EMR_SELECTOBJECT:
            if (const auto found = objects.find(record->dParm[0]); found != objects.end())
                selected[found->second.kind] = found->second;
            break;
        case EMR_DELETEOBJECT:
            deletedCount += int(objects.erase(record->dParm[0]));
            break;
        case EMR_MOVETOEX: {
            const auto to = at<POINTL>(record, offsetof(EMRMOVETOEX, ptl));
            position = {to.x, to.y};
            break;
        }
        case EMR_LINETO: {
            const auto ptl = at<POINTL>(record, offsetof(EMRLINETO, ptl));
            const POINT to{ptl.x, ptl.y};
            page.lines.push_back({position, to, selected[Kind::Pen].penWidth});
            position = to;
            break;
        }
        case EMR_BITBLT: { // a fill with the selected brush when it copies no picture
            const auto blit = at<EMRBITBLT>(record, 0);
            if (blit.cbBmiSrc == 0)
                page.fills.push_back(
                    {{blit.xDest, blit.yDest, blit.xDest + blit.cxDest, blit.yDest + blit.cyDest},
                     selected[Kind::Brush].colour});
            break;
        }
        case EMR_EXTTEXTOUTW: {
            const auto text = at<EMREXTTEXTOUTW>(record, 0).emrtext;
            DrawnText drawn = selected[Kind::Font].font;
            drawn.text = narrow(std::wstring_view(
                reinterpret_cast<const wchar_t*>(bytes + text.offString), text.nChars));
            drawn.reference = {text.ptlReference.x, text.ptlReference.y};
            for (DWORD i = 0; text.offDx != 0 && i < text.nChars; ++i)
                drawn.width += at<INT>(record, text.offDx + i * sizeof(INT));
            page.texts.push_back(drawn);
            break;
        }
        default:
            break;
        }
    }
};

int CALLBACK readRecord(HDC /*dc*/, HANDLETABLE* /*objects*/, const ENHMETARECORD* record,
                        int /*objectCount*/, LPARAM reader) {
    reinterpret_cast<Reader*>(reader)->read(record);
    return 1;
}

} // namespace

DrawnPage drawOnMetafile(const Page& page, int dotsPerInch, POINT origin) {
    // The frame is the paper, in hundredths of a millimetre; the records keep the dots they
    // were drawn in, whatever the screen they refer to.
    const HDC screen = GetDC(nullptr);
    const RECT frame{0, 0, LONG(std::lround(page.area.width / 72 * 2540)),
                     LONG(std::lround(page.area.height / 72 * 2540))};
    const HDC dc = CreateEnhMetaFileW(screen, nullptr, &frame, nullptr);
    ReleaseDC(nullptr, screen);
    drawPage(dc, page, dotsPerInch / 72.0, dotsPerInch / 72.0, origin);
    const HENHMETAFILE metafile = CloseEnhMetaFile(dc);
    Reader reader;
    EnumEnhMetaFile(nullptr, metafile, readRecord, &reader, nullptr);
    DeleteEnhMetaFile(metafile);
    reader.page.objectsNotDeleted = reader.madeCount - reader.deletedCount;
    return reader.page;
}

} // namespace clearmark::runtime::win32
