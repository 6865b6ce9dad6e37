// The button bitmaps and icons of one program, loaded from this executable's
// resources the way the program loads them from its own.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace {

const char *const kSkins[] = {"9", "8", "X", ""};
const char *const kStates[] = {"Up", "Dn", "In"};

#if RETEMPO_ART_PROGRAM == 99
const char *const kBases[] = {"DirUp", "Klkn", "Attrb", "Char", "About", "Exit"};
const char *const kIcons[] = {"FLD_ICON",    "OPEN_ICON",   "RCL_XP_ICON", "RCL_ME_ICON", "RCL_9X_ICON",
                              "DOC_ME_ICON", "DOC_9X_ICON", "NO_FIL_ICON", "NO_DRV_ICON"};
#elif RETEMPO_ART_PROGRAM == 98
const char *const kBases[] = {"Open", "DelItm", "DelAll", "Klkn", "About", "Exit"};
const char *const kIcons[] = {"FLD_ICON", "NO_FIL_ICON"};
#else
#error RETEMPO_ART_PROGRAM must be 99 or 98
#endif

constexpr int kWidth = 32;
constexpr int kHeight = 20;

std::string Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    return text;
}

std::string ButtonName(const char *base, const char *skin, const char *state)
{
    return std::string(base) + skin + state;
}

// Resource compilers store names in capitals; so does this set.
BOOL CALLBACK CollectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR param)
{
    if (!IS_INTRESOURCE(name))
        reinterpret_cast<std::set<std::string> *>(param)->insert(Upper(name));
    return TRUE;
}

std::set<std::string> ResourceNames(LPCSTR type)
{
    std::set<std::string> names;
    EnumResourceNamesA(GetModuleHandleA(nullptr), type, CollectName, reinterpret_cast<LONG_PTR>(&names));
    return names;
}

class GdiObject {
public:
    explicit GdiObject(HGDIOBJ object) : object_(object) {}
    ~GdiObject()
    {
        if (object_)
            DeleteObject(object_);
    }
    GdiObject(const GdiObject &) = delete;
    GdiObject &operator=(const GdiObject &) = delete;
    HGDIOBJ get() const { return object_; }

private:
    HGDIOBJ object_;
};

// All pixels of a bitmap, top row first, as COLORREF values.
std::vector<COLORREF> ReadPixels(HBITMAP bitmap, int width, int height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<RGBQUAD> quads(size_t(width) * height);
    HDC screen = GetDC(nullptr);
    int rows = GetDIBits(screen, bitmap, 0, height, quads.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    std::vector<COLORREF> pixels;
    if (rows != height)
        return pixels;
    for (const RGBQUAD &q : quads)
        pixels.push_back(RGB(q.rgbRed, q.rgbGreen, q.rgbBlue));
    return pixels;
}

// One button bitmap as stored: its size, depth and pixels.
struct Button {
    std::string name;
    bool loaded = false;
    int width = 0, height = 0, bitsPerPixel = 0;
    std::vector<COLORREF> pixels;

    COLORREF at(int x, int y) const { return pixels[size_t(y) * width + x]; }
    // Inside the edges, above and left of the symbol in every state.
    COLORREF face() const { return at(2, 2); }
};

Button LoadButton(const std::string &name)
{
    Button button;
    button.name = name;
    GdiObject bitmap(LoadImageA(GetModuleHandleA(nullptr), name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    DIBSECTION dib = {};
    if (!bitmap.get() || GetObjectA(bitmap.get(), sizeof(dib), &dib) != sizeof(dib))
        return button;
    button.width = dib.dsBm.bmWidth;
    button.height = dib.dsBm.bmHeight;
    button.bitsPerPixel = dib.dsBmih.biBitCount;
    if (button.width > 0 && button.height > 0)
        button.pixels = ReadPixels(static_cast<HBITMAP>(bitmap.get()), button.width, button.height);
    button.loaded = button.pixels.size() == size_t(button.width) * button.height;
    return button;
}

// The symbol of a button: the pixels inside its edges (edge pixels thick on
// each side, twice that at the right and bottom for the shadow) that are not
// the face, cut to their bounding box; face pixels inside the box are kept.
struct Symbol {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF at(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

Symbol SymbolOf(const Button &button, int edge)
{
    int left = button.width, top = button.height, right = -1, bottom = -1;
    for (int y = edge; y < button.height - 2 * edge; ++y)
        for (int x = edge; x < button.width - 2 * edge; ++x)
            if (button.at(x, y) != button.face()) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    Symbol symbol;
    if (right < 0) return symbol;
    symbol.width = right - left + 1;
    symbol.height = bottom - top + 1;
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            symbol.pixels.push_back(button.at(x, y));
    return symbol;
}

int Brightness(COLORREF c)
{
    return GetRValue(c) + GetGValue(c) + GetBValue(c);
}

bool IsGrey(COLORREF c)
{
    return GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c);
}

class ButtonArt : public ::testing::TestWithParam<const char *> {
protected:
    Button Load(const char *skin, const char *state) { return LoadButton(ButtonName(GetParam(), skin, state)); }
};

// The larger display scales: name suffix, percent.
struct ArtScale {
    const char *suffix;
    int percent;
};
const ArtScale kScales[] = {{"15", 150}, {"20", 200}};

TEST(ButtonNames, EveryBaseHasAllSkinsAndStatesAtEveryScaleAndNothingElse)
{
    std::set<std::string> expected;
    for (const char *base : kBases)
        for (const char *skin : kSkins)
            for (const char *state : kStates) {
                expected.insert(Upper(ButtonName(base, skin, state)));
                for (const ArtScale &scale : kScales)
                    expected.insert(Upper(ButtonName(base, skin, state) + scale.suffix));
            }
    ASSERT_EQ(expected.size(), 72u * 3);
    EXPECT_EQ(ResourceNames(RT_BITMAP), expected);
}

TEST(ButtonNames, FitTheTwelveByteNameFieldsOfTheBar)
{
    for (const std::string &name : ResourceNames(RT_BITMAP))
        EXPECT_LT(name.size(), 12u) << name;
}

TEST(IconNames, EveryIconIsDeclaredAndTheProgramIconIsLeftToTheProgram)
{
    std::set<std::string> expected(std::begin(kIcons), std::end(kIcons));
    std::set<std::string> declared = ResourceNames(RT_GROUP_ICON);
    EXPECT_EQ(declared, expected);
    EXPECT_EQ(declared.count("A_ICON_1"), 0u);
}

TEST_P(ButtonArt, EverySkinAndStateLoadsAs32By20With16Colours)
{
    for (const char *skin : kSkins) {
        for (const char *state : kStates) {
            std::string name = ButtonName(GetParam(), skin, state);
            HBITMAP ddb = LoadBitmapA(GetModuleHandleA(nullptr), name.c_str());
            EXPECT_NE(ddb, nullptr) << name;
            if (ddb)
                DeleteObject(ddb);
            Button button = LoadButton(name);
            EXPECT_EQ(button.width, kWidth) << name;
            EXPECT_EQ(button.height, kHeight) << name;
            EXPECT_EQ(button.bitsPerPixel, 4) << name;
            EXPECT_TRUE(button.loaded) << name;
        }
    }
}

TEST_P(ButtonArt, RaisedFaceIsLitTopLeftAndShadowedBottomRight)
{
    for (const char *skin : kSkins) {
        Button up = Load(skin, "Up");
        ASSERT_TRUE(up.loaded) << up.name;
        int face = Brightness(up.face());
        for (int x = 0; x < kWidth - 1; ++x) {
            EXPECT_GT(Brightness(up.at(x, 0)), face) << up.name << " top edge x " << x;
            EXPECT_LT(Brightness(up.at(x + 1, kHeight - 1)), face) << up.name << " bottom edge x " << x + 1;
        }
        for (int y = 0; y < kHeight - 1; ++y) {
            EXPECT_GT(Brightness(up.at(0, y)), face) << up.name << " left edge y " << y;
            EXPECT_LT(Brightness(up.at(kWidth - 1, y + 1)), face) << up.name << " right edge y " << y + 1;
        }
        EXPECT_EQ(up.at(kWidth - 1, kHeight - 1), RGB(0, 0, 0)) << up.name;
    }
}

TEST_P(ButtonArt, PressedFaceIsFramedInBlackWithTheSymbolMovedDownRight)
{
    for (const char *skin : kSkins) {
        Button up = Load(skin, "Up");
        Button dn = Load(skin, "Dn");
        ASSERT_TRUE(up.loaded && dn.loaded) << dn.name;
        for (int x = 0; x < kWidth; ++x) {
            EXPECT_EQ(dn.at(x, 0), RGB(0, 0, 0)) << dn.name << " x " << x;
            EXPECT_EQ(dn.at(x, kHeight - 1), RGB(0, 0, 0)) << dn.name << " x " << x;
        }
        for (int y = 0; y < kHeight; ++y) {
            EXPECT_EQ(dn.at(0, y), RGB(0, 0, 0)) << dn.name << " y " << y;
            EXPECT_EQ(dn.at(kWidth - 1, y), RGB(0, 0, 0)) << dn.name << " y " << y;
        }
        EXPECT_EQ(dn.face(), up.face()) << dn.name;
        int mismatches = 0;
        for (int y = 2; y <= kHeight - 4; ++y)
            for (int x = 2; x <= kWidth - 4; ++x)
                mismatches += dn.at(x + 1, y + 1) != up.at(x, y);
        EXPECT_EQ(mismatches, 0) << dn.name;
    }
}

TEST_P(ButtonArt, InactiveSymbolIsFlatGrey)
{
    for (const char *skin : kSkins) {
        Button up = Load(skin, "Up");
        Button in = Load(skin, "In");
        ASSERT_TRUE(up.loaded && in.loaded) << in.name;
        EXPECT_EQ(in.face(), up.face()) << in.name;
        int symbolPixels = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                COLORREF c = in.at(x, y);
                EXPECT_TRUE(IsGrey(c) || c == in.face()) << in.name << " (" << x << "," << y << ")";
                bool edge = x == 0 || y == 0 || x >= kWidth - 2 || y >= kHeight - 2;
                symbolPixels += !edge && c != in.face();
            }
        }
        // The symbol must still be there, only greyed.
        EXPECT_GT(symbolPixels, 20) << in.name;
        // The raised edges are those of the normal picture.
        EXPECT_EQ(in.at(0, 0), up.at(0, 0)) << in.name;
        EXPECT_EQ(in.at(kWidth - 2, kHeight - 2), up.at(kWidth - 2, kHeight - 2)) << in.name;
    }
}

TEST_P(ButtonArt, NormalSymbolIsInColour)
{
    Button up = Load("", "Up");
    ASSERT_TRUE(up.loaded) << up.name;
    int coloured = 0;
    for (COLORREF c : up.pixels)
        coloured += !IsGrey(c);
    EXPECT_GT(coloured, 10) << up.name;
}

TEST_P(ButtonArt, SkinsDifferOnlyInTheFaceAndTheWarmSkinIsLighter)
{
    for (const char *state : kStates) {
        Button plain = Load("", state);
        ASSERT_TRUE(plain.loaded) << plain.name;
        for (const char *skin : kSkins) {
            Button other = Load(skin, state);
            ASSERT_TRUE(other.loaded) << other.name;
            int mismatches = 0;
            for (size_t i = 0; i < plain.pixels.size(); ++i) {
                bool plainFace = plain.pixels[i] == plain.face();
                bool otherFace = other.pixels[i] == other.face();
                mismatches += plainFace != otherFace || (!plainFace && plain.pixels[i] != other.pixels[i]);
            }
            EXPECT_EQ(mismatches, 0) << other.name << " against " << plain.name;
        }
        Button warm = Load("X", state);
        ASSERT_TRUE(warm.loaded) << warm.name;
        EXPECT_NE(warm.face(), plain.face()) << warm.name;
        EXPECT_GT(Brightness(warm.face()), Brightness(plain.face())) << warm.name;
        EXPECT_GT(GetRValue(warm.face()), GetBValue(warm.face())) << warm.name << " face is not warm";
    }
}

// Each larger button is drawn afresh at its size from the same symbol: the
// face is the scale's size, the edges as thick as its whole part, and every
// pixel of the symbol a block of one colour (two by two at 200 %; one or two
// pixels a side at 150 %), never a blend of two.
TEST_P(ButtonArt, LargerScalesAreDrawnAtTheirSizeFromTheSameSymbol)
{
    for (const char *skin : kSkins) {
        for (const char *state : {"Up", "In"}) {
            Button one = Load(skin, state);
            ASSERT_TRUE(one.loaded) << one.name;
            const Symbol small = SymbolOf(one, 1);
            ASSERT_GT(small.width, 0) << one.name;
            for (const ArtScale &scale : kScales) {
                Button big = LoadButton(ButtonName(GetParam(), skin, state) + scale.suffix);
                ASSERT_TRUE(big.loaded) << big.name;
                EXPECT_EQ(big.width, kWidth * scale.percent / 100) << big.name;
                EXPECT_EQ(big.height, kHeight * scale.percent / 100) << big.name;
                EXPECT_EQ(big.bitsPerPixel, 4) << big.name;
                EXPECT_EQ(big.face(), one.face()) << big.name;
                const int edge = scale.percent / 100;
                // Raised edges of that thickness: white at the top left, black at the bottom right.
                for (int t = 0; t < edge; ++t) {
                    EXPECT_EQ(big.at(t, big.height / 2), RGB(255, 255, 255)) << big.name << " left edge " << t;
                    EXPECT_EQ(big.at(big.width - 1 - t, big.height / 2), RGB(0, 0, 0)) << big.name;
                }
                EXPECT_NE(big.at(edge, big.height / 2), RGB(255, 255, 255)) << big.name << " edge too thick";

                const Symbol large = SymbolOf(big, edge);
                EXPECT_LE(std::abs(large.width - small.width * scale.percent / 100), 1) << big.name;
                EXPECT_LE(std::abs(large.height - small.height * scale.percent / 100), 1) << big.name;
                // The same colours, and no colour a blend would bring.
                EXPECT_EQ(std::set<COLORREF>(large.pixels.begin(), large.pixels.end()),
                          std::set<COLORREF>(small.pixels.begin(), small.pixels.end()))
                    << big.name;
                if (scale.percent != 200) continue;
                // At 200 % each pixel of the symbol is a two-by-two block of it.
                ASSERT_EQ(large.width, small.width * 2) << big.name;
                ASSERT_EQ(large.height, small.height * 2) << big.name;
                int mismatches = 0;
                for (int y = 0; y < large.height; ++y)
                    for (int x = 0; x < large.width; ++x)
                        mismatches += large.at(x, y) != small.at(x / 2, y / 2);
                EXPECT_EQ(mismatches, 0) << big.name << " is not its symbol at 200 %";
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllBases, ButtonArt, ::testing::ValuesIn(kBases),
                         [](const ::testing::TestParamInfo<const char *> &info) { return std::string(info.param); });

class IconArt : public ::testing::TestWithParam<const char *> {};

TEST_P(IconArt, LoadsAt32By32WithAShapedMask)
{
    HICON icon =
        static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), GetParam(), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
    ASSERT_NE(icon, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    GdiObject colour(info.hbmColor), mask(info.hbmMask);
    DestroyIcon(icon);
    BITMAP bm = {};
    ASSERT_TRUE(GetObjectA(colour.get(), sizeof(bm), &bm));
    EXPECT_EQ(bm.bmWidth, 32);
    EXPECT_EQ(bm.bmHeight, 32);
    std::vector<COLORREF> maskPixels = ReadPixels(static_cast<HBITMAP>(mask.get()), 32, 32);
    ASSERT_EQ(maskPixels.size(), 32u * 32u);
    int transparent = int(std::count(maskPixels.begin(), maskPixels.end(), RGB(255, 255, 255)));
    EXPECT_GT(transparent, 0) << "the shape has no transparent surround";
    EXPECT_GT(32 * 32 - transparent, 32 * 32 / 4) << "too little of the icon is drawn";
}

TEST_P(IconArt, LoadsAtTheSmallSizeTheListsShow)
{
    HICON icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), GetParam(), IMAGE_ICON, 16, 16, 0));
    ASSERT_NE(icon, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    GdiObject colour(info.hbmColor), mask(info.hbmMask);
    DestroyIcon(icon);
    BITMAP bm = {};
    ASSERT_TRUE(GetObjectA(colour.get(), sizeof(bm), &bm));
    EXPECT_EQ(bm.bmWidth, 16);
    EXPECT_EQ(bm.bmHeight, 16);
}

TEST_P(IconArt, HoldsOne32By32ImageIn16Colours)
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC group = FindResourceA(module, GetParam(), RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    auto *directory = static_cast<BYTE *>(LockResource(LoadResource(module, group)));
    ASSERT_NE(directory, nullptr);
    EXPECT_EQ(reinterpret_cast<WORD *>(directory)[2], 1) << "number of images";
    int id = LookupIconIdFromDirectoryEx(directory, TRUE, 32, 32, LR_DEFAULTCOLOR);
    HRSRC image = FindResourceA(module, MAKEINTRESOURCEA(id), RT_ICON);
    ASSERT_NE(image, nullptr);
    ASSERT_GE(SizeofResource(module, image), sizeof(BITMAPINFOHEADER));
    auto *header = static_cast<BITMAPINFOHEADER *>(LockResource(LoadResource(module, image)));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->biWidth, 32);
    EXPECT_EQ(header->biHeight, 64) << "colour rows and mask rows";
    EXPECT_EQ(header->biBitCount, 4);
}

INSTANTIATE_TEST_SUITE_P(AllIcons, IconArt, ::testing::ValuesIn(kIcons),
                         [](const ::testing::TestParamInfo<const char *> &info) { return std::string(info.param); });

} // namespace
