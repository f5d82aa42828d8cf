// Storing the crop: the photo files, the roster, the quality, and every way a
// store can be refused or fail without losing an entry or an earlier photo.
#include "capture/photo/tests/PhotoWindowTest.h"

#include "encoder/ClsJPEG.h"
#include "roster/PhotoFiles.h"
#include "win/Settings.h"
#include "capture/GetPICTexts.h"
#include "capture/photo/TakePhoto.h"
#include "roster/DoneMarks.h"

#include <fstream>
#include <map>
#include <iterator>

namespace vardolin::capture::test {
namespace {

namespace fs = std::filesystem;
using StoreTest = PhotoWindowTest;
using roster::StoredFileName;

std::vector<uint8_t> FileBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The luminance quantization table of a JPEG file, in zigzag order.
std::vector<int> LumaTable(const fs::path& file) {
    std::vector<uint8_t> bytes = FileBytes(file);
    for (size_t i = 0; i + 69 < bytes.size(); ++i)
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xDB && bytes[i + 4] == 0x00)
            return {bytes.begin() + i + 5, bytes.begin() + i + 69};
    return {};
}

std::vector<int> LumaTableAtQuality(int quality) {
    ClsJPEG jpeg;
    jpeg.SetQuality(quality);
    const auto& qk = jpeg.QuantTable(0).Qk;
    return {qk.begin(), qk.end()};
}

TEST_F(StoreTest, StoresEachPersonInTurnAndRemindsWhenTheRosterIsEmpty) {
    AddEntries({L"A", L"B"});
    TakePhotoAndCrop();
    BitmapPixels crop = PreviewPixels();

    Click(ControlId::Command1);
    BitmapPixels stored = DecodeJpeg(PicFolder() / L"A.jpg");
    ASSERT_EQ(stored.width, 156);
    ASSERT_EQ(stored.height, 188);
    EXPECT_LT(MeanDifference(stored, crop), 3.0);
    EXPECT_LT(LargestDifference(stored, crop), 64);
    EXPECT_EQ(Entries(), std::vector<std::wstring>{L"B"});

    Click(ControlId::Command1);
    EXPECT_EQ(DecodeJpeg(PicFolder() / L"B.jpg").width, 156);
    EXPECT_EQ(FileBytes(PicFolder() / L"B.jpg"), FileBytes(PicFolder() / L"A.jpg"));
    EXPECT_TRUE(Entries().empty());
    EXPECT_TRUE(messages_.empty());

    SetWindowPos(Window().Window(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Click(ControlId::Command1);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, L"请右击列表框，选择添加要照像的对象");
    EXPECT_EQ(messages_[0].caption, L"提醒");
    EXPECT_EQ(messages_[0].type, UINT{MB_OK | MB_ICONINFORMATION});
    EXPECT_TRUE(GetWindowLongW(Window().Window(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(StoreTest, BlankFirstEntryGetsTheReminderButSpacesAroundANameAreKept) {
    TakePhotoAndCrop();
    // White space and invisible characters only: no one to photograph.
    for (const wchar_t* blank : {L"   ", L"\u3000", L"\u00A0\u200B", L"\uFEFF\t"}) {
        SendMessageW(Control(ControlId::List1), LB_RESETCONTENT, 0, 0);
        messages_.clear();
        AddEntries({blank});
        Click(ControlId::Command1);
        ASSERT_EQ(messages_.size(), 1u);
        EXPECT_EQ(messages_[0].text, kReminderText);
        EXPECT_EQ(Entries().size(), 1u);
    }
    EXPECT_FALSE(fs::exists(PicFolder()));

    SendMessageW(Control(ControlId::List1), LB_RESETCONTENT, 0, 0);
    AddEntries({L"  A "});
    Click(ControlId::Command1);
    EXPECT_TRUE(fs::exists(PicFolder() / L"  A .jpg"));
    EXPECT_TRUE(Entries().empty());
}

TEST_F(StoreTest, QualityIsHeldWithin30To100InMemoryOnly) {
    AddEntries({L"low", L"high"});
    TakePhotoAndCrop();
    std::wstring stored = settings::Read(settings::kQualityKey);

    CurrentComponentState().jpegQuality.SetInteger(25);
    Click(ControlId::Command1);
    EXPECT_EQ(LumaTable(PicFolder() / L"low.jpg"), LumaTableAtQuality(30));
    EXPECT_EQ(CurrentComponentState().jpegQuality.Number(), 30);

    CurrentComponentState().jpegQuality.SetInteger(120);
    Click(ControlId::Command1);
    EXPECT_EQ(LumaTable(PicFolder() / L"high.jpg"), LumaTableAtQuality(100));
    EXPECT_LT(MeanDifference(DecodeJpeg(PicFolder() / L"low.jpg"), PreviewPixels()), 6.0);
    EXPECT_LT(MeanDifference(DecodeJpeg(PicFolder() / L"high.jpg"), PreviewPixels()), 1.5);
    EXPECT_EQ(settings::Read(settings::kQualityKey), stored);
}

// The system's reason quoted in a message keeps no full stop of its own
// before ours.
void ExpectOneSentenceEnd(const std::wstring& text) {
    for (const wchar_t* doubled : {L".。", L"。。", L". 。"})
        EXPECT_EQ(text.find(doubled), std::wstring::npos) << doubled;
}

TEST_F(StoreTest, AnExistingPhotoIsReplacedAndNothingIsLeftBeside) {
    fs::create_directories(PicFolder());
    { std::ofstream(PicFolder() / L"A.jpg") << "an older photo"; }
    AddEntries({L"A"});
    TakePhotoAndCrop();

    Click(ControlId::Command1);

    EXPECT_EQ(DecodeJpeg(PicFolder() / L"A.jpg").width, 156);
    EXPECT_EQ(std::distance(fs::directory_iterator(PicFolder()), fs::directory_iterator()), 1);
    EXPECT_TRUE(Entries().empty());
}

TEST_F(StoreTest, APhotoThatCannotBeReplacedStaysAndTheEntryStaysWithAMessage) {
    fs::create_directories(PicFolder());
    fs::path old = PicFolder() / L"A.jpg";
    { std::ofstream(old) << "an older photo"; }
    SetFileAttributesW(old.c_str(), FILE_ATTRIBUTE_READONLY);
    AddEntries({L"A", L"B"});
    TakePhotoAndCrop();

    Click(ControlId::Command1);

    EXPECT_EQ(FileBytes(old).size(), 14u);
    EXPECT_EQ(Entries(), (std::vector<std::wstring>{L"A", L"B"}));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_NE(messages_[0].text.find(roster::DisplayPath(old)), std::wstring::npos);
    EXPECT_EQ(messages_[0].caption, kStoreFailedCaption);
    ExpectOneSentenceEnd(messages_[0].text);
}

TEST_F(StoreTest, EntriesThatAreNoPlainFileNameAreRefusedAndNothingIsWritten) {
    TakePhotoAndCrop();
    fs::remove(TemporaryPhotoPath());
    for (const wchar_t* entry : {L"..\\escape", L"..", L"sub/x", L"CON", L"a:b", L"x?"}) {
        SendMessageW(Control(ControlId::List1), LB_RESETCONTENT, 0, 0);
        AddEntries({entry});
        messages_.clear();

        Click(ControlId::Command1);

        EXPECT_EQ(Entries().size(), 1u);
        ASSERT_EQ(messages_.size(), 1u);
        EXPECT_NE(messages_[0].text.find(entry), std::wstring::npos);
    }
    EXPECT_FALSE(fs::exists(PicFolder()));
    EXPECT_FALSE(fs::exists(TemporaryPhotoPath()));
    EXPECT_FALSE(fs::exists(roster::LibraryFolder().parent_path() / L"escape.jpg"));
}

// A key as the host's plain message loop delivers it to the focused control,
// with Shift held or not.
void Press(UINT key, bool shift = false) {
    BYTE state[256] = {};
    GetKeyboardState(state);
    state[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(state);
    HWND focus = GetFocus();
    PostMessageW(focus, WM_KEYDOWN, key, 1);
    PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
    PumpFor(std::chrono::milliseconds(30));
    state[VK_SHIFT] = 0;
    SetKeyboardState(state);
}

TEST_F(StoreTest, ARosterIsStoredByKeyboardAlone) {
    using enum ControlId;
    AddEntries({L"甲", L"乙"});
    SetFocus(Control(CmdOK));
    Press(VK_TAB);
    ASSERT_EQ(GetFocus(), Control(CmdSaveDIB));
    Press(VK_RETURN);
    EXPECT_EQ(Text(CmdSaveDIB), L"重新照");

    for (int i = 0; i < 4; ++i) Press(VK_TAB);  // the two dialog buttons, the still, the list
    Press(VK_TAB, true);
    ASSERT_EQ(GetFocus(), Control(Picture1));
    Press(VK_RIGHT);
    Press(VK_DOWN);
    Press(VK_RIGHT, true);
    EXPECT_EQ(Frame().left, kCropFrameAtLoad.left + 11);
    EXPECT_EQ(Frame().top, kCropFrameAtLoad.top + 1);

    Press(VK_TAB);
    Press(VK_DOWN);
    EXPECT_EQ(SendMessageW(Control(List1), LB_GETCURSEL, 0, 0), 0);
    Press(VK_TAB);
    Press(VK_SPACE);
    Press(VK_RETURN);
    EXPECT_TRUE(Entries().empty());
    EXPECT_LT(MeanDifference(DecodeJpeg(PicFolder() / L"甲.jpg"), PreviewPixels()), 3.0);
    EXPECT_TRUE(fs::exists(PicFolder() / L"乙.jpg"));
    EXPECT_TRUE(messages_.empty());

    Press(VK_TAB);
    int quality = static_cast<int>(CurrentComponentState().jpegQuality.Number());
    Press(quality < kQualityMax ? VK_RIGHT : VK_LEFT);
    EXPECT_EQ(std::abs(CurrentComponentState().jpegQuality.Number() - quality), kQualityStep);
}

// Two keys per pupil once the roster has the focus: Space takes the photo,
// Enter stores the crop where the frame is and the next name comes up, with
// the live preview back and the roster still focused.
TEST_F(StoreTest, AFiveNameRosterIsPhotographedWithSpaceAndEnterFromTheRoster) {
    const std::vector<std::wstring> names{L"甲", L"乙", L"丙", L"丁", L"戊"};
    for (const std::wstring& name : names) AddEntries({name.c_str()});
    HWND list = Control(ControlId::List1);
    SetFocus(list);
    for (const std::wstring& name : names) {
        SCOPED_TRACE(std::string(name.begin(), name.end()));
        Press(VK_SPACE);
        EXPECT_EQ(Text(ControlId::CmdSaveDIB), kRetakeCaption);
        Press(VK_RETURN);
        EXPECT_EQ(DecodeJpeg(PicFolder() / (name + L".jpg")).width, 156);
        EXPECT_EQ(Text(ControlId::CmdSaveDIB), kTakePhotoCaption);
        EXPECT_EQ(GetFocus(), list);
    }
    EXPECT_TRUE(Entries().empty());
    EXPECT_TRUE(messages_.empty());
}

// The share of a row's check margin drawn in the check's green.
int CheckPixels(HWND list, int entry) {
    RECT row{};
    SendMessageW(list, LB_GETITEMRECT, entry, reinterpret_cast<LPARAM>(&row));
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    BitmapPixels shown = CopyPixels(WindowDc(list).get(), row.right, row.bottom);
    int green = 0;
    for (int y = row.top; y < row.bottom; ++y)
        for (int x = row.left; x < row.left + (row.bottom - row.top); ++x) {
            const uint8_t* bgr = shown.Row(y) + x * 3;
            green += bgr[1] > 120 && bgr[0] < 100 && bgr[2] < 60;
        }
    return green;
}

// Marks come from the listing made when the window opened, and a name is
// marked the moment its photo is stored.
TEST_F(StoreTest, NamesWhosePhotoIsInTheFolderAreMarkedAndStoringMarksAtOnce) {
    fs::create_directories(PicFolder());
    { std::ofstream(PicFolder() / L"乙.jpg") << "stored earlier"; }
    { std::ofstream(PicFolder() / L"丙.JPG") << "another name in another case"; }
    Window().Unload();
    ShowWindowWithCamera();
    AddEntries({L"甲", L"乙", L"甲", L"丙"});
    const roster::DoneMarks& marks = *Window().DoneMarks();
    ASSERT_TRUE(PumpUntil([&] { return marks.IsDone(L"乙"); }, std::chrono::seconds(5)));
    EXPECT_FALSE(marks.IsDone(L"甲"));
    EXPECT_FALSE(marks.IsDone(L"丙"));
    HWND list = Control(ControlId::List1);
    EXPECT_EQ(CheckPixels(list, 0), 0);
    EXPECT_GT(CheckPixels(list, 1), 10);

    TakePhotoAndCrop();
    Click(ControlId::Command1);

    EXPECT_EQ(Entries(), (std::vector<std::wstring>{L"乙", L"甲", L"丙"}));
    EXPECT_TRUE(marks.IsDone(L"甲"));
    EXPECT_GT(CheckPixels(list, 1), 10);
    EXPECT_EQ(CheckPixels(list, 2), 0);
}

TEST_F(StoreTest, ALongNameStoresPastTheOldPathLimit) {
    std::wstring name(240, L'长');
    ASSERT_GT((PicFolder() / (name + L".jpg")).wstring().size(), size_t{MAX_PATH});
    AddEntries({name.c_str()});
    TakePhotoAndCrop();
    Click(ControlId::Command1);
    EXPECT_TRUE(messages_.empty()) << (messages_.empty()
                                           ? ""
                                           : std::string(messages_[0].text.begin(), messages_[0].text.end()));
    EXPECT_TRUE(Entries().empty());
    EXPECT_EQ(DecodeJpeg(PicFolder() / (name + L".jpg")).width, 156);
}

TEST_F(StoreTest, NothingIsStoredBeforeACropWasTakenFromAPhoto) {
    AddEntries({L"A"});
    Click(ControlId::Command1);  // right after load: the placeholder
    Click(ControlId::CmdSaveDIB);
    Click(ControlId::Command1);  // a photo, but no crop from it yet

    EXPECT_FALSE(fs::exists(PicFolder() / L"A.jpg"));
    EXPECT_EQ(Entries(), std::vector<std::wstring>{L"A"});
    ASSERT_EQ(messages_.size(), 2u);
    EXPECT_EQ(messages_[1].text, kNoCropText);
}

// Each store in turn, on what the earlier ones left: whether the photo is
// stored, and what the user is told otherwise. A refused store writes
// nothing, keeps the entry and leaves every earlier photo as it was.
TEST_F(StoreTest, EveryPhotoLandsUnderItsOwnNameOrIsRefusedWithTheReason) {
    struct Case {
        const char* name;
        std::wstring entry;
        bool heldOpen;        // the photo is open in another program, without sharing
        const wchar_t* says;  // empty when stored
    };
    const Case cases[] = {
        {"first of two names in different case", L"Anna", false, L""},
        {"the second: another person's file", L"ANNA", false, L"“Anna.jpg”"},
        {"250 Latin letters", std::wstring(250, L'a'), false, L""},
        {"too long for a file name", std::wstring(252, L'b'), false, L"太长"},
        {"an unpaired surrogate", L"Ann\xD800", false, L"不能用作照片的文件名"},
        {"a photo held open elsewhere", L"Anna", true, kOpenElsewhereText},
    };
    TakePhotoAndCrop();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SendMessageW(Control(ControlId::List1), LB_RESETCONTENT, 0, 0);
        AddEntries({c.entry.c_str()});
        messages_.clear();
        std::map<fs::path, std::vector<uint8_t>> before;
        if (fs::exists(PicFolder()))
            for (const auto& file : fs::directory_iterator(PicFolder())) before[file.path()] = FileBytes(file.path());
        UniqueFile held;
        if (c.heldOpen)
            held = AdoptFile(CreateFileW((PicFolder() / (c.entry + L".jpg")).c_str(), GENERIC_READ, 0, nullptr,
                                         OPEN_EXISTING, 0, nullptr));

        Click(ControlId::Command1);
        held.reset();

        if (*c.says == L'\0') {
            EXPECT_TRUE(messages_.empty());
            EXPECT_TRUE(Entries().empty());
            EXPECT_EQ(StoredFileName(PicFolder() / (c.entry + L".jpg")), c.entry + L".jpg");
            continue;
        }
        EXPECT_EQ(Entries(), std::vector<std::wstring>{c.entry});
        ASSERT_EQ(messages_.size(), 1u);
        EXPECT_NE(messages_[0].text.find(c.says), std::wstring::npos);
        std::map<fs::path, std::vector<uint8_t>> after;
        for (const auto& file : fs::directory_iterator(PicFolder())) after[file.path()] = FileBytes(file.path());
        EXPECT_EQ(after, before) << "nothing written, nothing left beside";
    }
}

}  // namespace
}  // namespace vardolin::capture::test
