// Where photos go: the photo folder's settings in their order (IT's policy,
// the user's choice, the machine's value, Pic beside the program), a folder
// that cannot be reached, and the still kept in the user's temporary folder.
#include "capture/photo/tests/PhotoWindowTest.h"

#include "capture/GetPICTexts.h"
#include "capture/photo/TakePhoto.h"
#include "roster/PhotoFiles.h"
#include "win/Settings.h"

#include <fstream>
#include <optional>

namespace vardolin::capture::test {
namespace {

namespace fs = std::filesystem;

// A PhotoFolder value as a package, IT or the user leaves it.
void Put(HKEY root, const wchar_t* key, const std::wstring& folder, DWORD type = REG_SZ) {
    ASSERT_EQ(RegSetKeyValueW(root, key, kPhotoFolderValue, type, folder.c_str(),
                              static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

class PhotoFolderTest : public PhotoWindowTest {
protected:
    ~PhotoFolderTest() override {
        std::error_code ignored;
        fs::remove_all(Scratch(), ignored);
    }
    static fs::path Scratch() { return fs::temp_directory_path() / L"vardolin-photo-folders"; }

    bool ChangeFolderGreyed() {
        HMENU menu = Window().MenuThe();
        SendMessageW(Window().Window(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
        return GetMenuState(menu, static_cast<UINT>(MenuItem::ChangePhotoFolder), MF_BYCOMMAND) & MF_GRAYED;
    }
    void StoreFor(const wchar_t* entry) {
        SendMessageW(Control(ControlId::List1), LB_RESETCONTENT, 0, 0);
        AddEntries({entry});
        Click(ControlId::Command1);
    }
};

TEST_F(PhotoFolderTest, EachRungOfTheOrderStoresThePhotoWhereItSays) {
    const fs::path policy = Scratch() / L"policy", user = Scratch() / L"user", machine = Scratch() / L"machine";
    for (const fs::path& folder : {policy, user, machine}) fs::create_directories(folder);
    std::optional<std::wstring> picked;
    int pickerShown = 0;
    environment_->folderPicker = [&](HWND, const std::wstring&) {
        ++pickerShown;
        return picked;
    };
    struct Case {
        const char* name;
        bool byPolicy;   // as REG_EXPAND_SZ: %TEMP%\...
        bool userPicks;  // through 更改照片文件夹...
        bool userValue;
        bool machineValue;
        fs::path expected;
    };
    const Case cases[] = {
        {"the user's choice before the machine's", false, true, false, true, user},
        {"IT's policy before both", true, true, true, true, policy},
        {"the machine's value", false, false, false, true, machine},
        {"Pic beside the program", false, false, false, false, PicFolder()},
    };
    TakePhotoAndCrop();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearPhotoFolderSettings();
        messages_.clear();
        pickerShown = 0;
        if (c.byPolicy) Put(HKEY_LOCAL_MACHINE, kPolicyKey, L"%TEMP%\\vardolin-photo-folders\\policy", REG_EXPAND_SZ);
        if (c.userValue) Put(HKEY_CURRENT_USER, kSettingsKey, user.wstring());
        if (c.machineValue) Put(HKEY_LOCAL_MACHINE, kSettingsKey, machine.wstring());
        picked = user.wstring();
        if (c.userPicks) Window().RunMenuCommand(MenuItem::ChangePhotoFolder);
        EXPECT_EQ(pickerShown, c.userPicks && !c.byPolicy ? 1 : 0);
        EXPECT_EQ(ChangeFolderGreyed(), c.byPolicy);

        StoreFor(L"甲");

        EXPECT_TRUE(messages_.empty());
        EXPECT_TRUE(Entries().empty());
        EXPECT_TRUE(fs::exists(c.expected / L"甲.jpg"));
        fs::remove(c.expected / L"甲.jpg");
        // The still and the stored crop stay in the user's temporary folder.
        EXPECT_TRUE(fs::exists(fs::temp_directory_path() / L"Vardolin" / L"TmpPhoto.bmp"));
        EXPECT_FALSE(fs::exists(roster::LibraryFolder() / L"TmpPhoto.bmp"));
        if (c.expected != PicFolder()) {
            EXPECT_FALSE(fs::exists(PicFolder()));
        }
    }
}

// A folder set that cannot take photos: the window says so when it opens,
// and a store names the folder and the system's reason and keeps the entry.
TEST_F(PhotoFolderTest, AnUnreachableFolderIsNamedWhenTheWindowOpensAndLosesNoEntry) {
    fs::create_directories(Scratch());
    { std::ofstream(Scratch() / L"a file") << "not a folder"; }
    struct Case {
        const char* name;
        std::wstring value;
        std::wstring named;  // how the messages name it
    };
    const Case cases[] = {
        {"a drive that is not there", L"Q:\\照片", L"“Q:\\照片”"},
        {"a folder whose parent is missing", (Scratch() / L"gone" / L"照片").wstring(),
         L"“" + (Scratch() / L"gone" / L"照片").wstring() + L"”"},
        {"a file in the folder's place", (Scratch() / L"a file").wstring(),
         L"“" + (Scratch() / L"a file").wstring() + L"”"},
        {"not a full path", L"照片", L"“照片”"},
    };
    TakePhotoAndCrop();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Put(HKEY_CURRENT_USER, kSettingsKey, c.value);
        messages_.clear();
        StoreFor(L"甲");

        EXPECT_EQ(Entries(), std::vector<std::wstring>{L"甲"});
        ASSERT_EQ(messages_.size(), 1u);
        EXPECT_NE(messages_[0].text.find(c.named), std::wstring::npos);
        EXPECT_EQ(messages_[0].caption, kStoreFailedCaption);
        EXPECT_EQ(messages_[0].text.find(L"。。"), std::wstring::npos);
        EXPECT_FALSE(fs::exists(fs::current_path() / L"照片"));
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Put(HKEY_CURRENT_USER, kSettingsKey, c.value);
        Window().Unload();
        messages_.clear();
        Window().Show();
        ASSERT_TRUE(PumpUntil([&] { return !messages_.empty(); }));
        EXPECT_NE(messages_[0].text.find(c.named), std::wstring::npos);
    }
    EXPECT_FALSE(fs::exists(PicFolder()));
}

}  // namespace
}  // namespace vardolin::capture::test
