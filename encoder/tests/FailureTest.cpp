// Bad input and file-system failures: a clear error or status, never a
// partial file.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <new>
#include <stdexcept>

#include "encoder/ClsJPEG.h"
#include "encoder/FileOutput.h"
#include "encoder/tests/TestPictures.h"

namespace vardolin {
namespace {

namespace fs = std::filesystem;

class Failure : public testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("vardolin-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    void Sample(ClsJPEG& encoder, int width = 32, int height = 24) {
        MemoryPicture picture(width, height, test::GradientRgb(width, height));
        ASSERT_EQ(encoder.SampleHDC(picture, width, height), 0);
    }

    static int ErrorOf(const std::function<void()>& call) {
        try {
            call();
        } catch (const ComponentError& e) {
            return e.number();
        }
        return 0;
    }

    fs::path folder_;
};

TEST_F(Failure, EmptyNameAndExistingFileAreStatuses) {
    ClsJPEG encoder;
    Sample(encoder);
    EXPECT_EQ(encoder.SaveFile(""), 1);
    const fs::path existing = folder_ / "a.jpg";
    std::ofstream(existing) << "keep";
    EXPECT_EQ(encoder.SaveFile(existing), 2);
    EXPECT_EQ(fs::file_size(existing), 4u);
    fs::permissions(existing, fs::perms::owner_read);  // read-only still counts as existing
    EXPECT_EQ(encoder.SaveFile(existing), 2);
    EXPECT_EQ(encoder.SaveFile(folder_ / "b.jpg"), 0);
    EXPECT_EQ(encoder.SaveFile(folder_ / "b.jpg"), 2);
}

TEST_F(Failure, FileSystemErrorsLeaveNoFile) {
    ClsJPEG encoder;
    Sample(encoder);
    EXPECT_EQ(ErrorOf([&] { encoder.SaveFile(folder_ / "missing" / "a.jpg"); }), 76);
    std::ofstream(folder_ / "plain") << "x";
    EXPECT_EQ(ErrorOf([&] { encoder.SaveFile(folder_ / "plain" / "a.jpg"); }), 76);
    fs::create_directory(folder_ / "dir.jpg");  // a folder of that name is not a file
    EXPECT_EQ(ErrorOf([&] { encoder.SaveFile(folder_ / "dir.jpg"); }), 75);
}

// The old file stays until the new one is complete and renamed over it; a
// replacement that cannot take the target's place goes, the target stays.
TEST_F(Failure, AReplacementTakesTheTargetsPlaceOrLeavesItAsItWas) {
    ClsJPEG encoder;
    Sample(encoder);
    const fs::path target = folder_ / "a.jpg";
    std::ofstream(target) << "old";
    const fs::path replacement = ReplacementPath(target);
    EXPECT_EQ(replacement.parent_path(), folder_);
    ASSERT_EQ(encoder.SaveFile(replacement), 0);
    EXPECT_FALSE(PutReplacementInPlace(replacement, target));
    EXPECT_FALSE(fs::exists(replacement));
    EXPECT_GT(fs::file_size(target), 100u);

    const fs::path folder = folder_ / "dir.jpg";  // a non-empty folder is never replaced
    fs::create_directories(folder / "inside");
    std::ofstream(ReplacementPath(folder)) << "new";
    EXPECT_TRUE(PutReplacementInPlace(ReplacementPath(folder), folder));
    EXPECT_FALSE(fs::exists(ReplacementPath(folder)));
    EXPECT_TRUE(fs::is_directory(folder / "inside"));
}

TEST_F(Failure, NoPictureIsSubscriptOutOfRange) {
    ClsJPEG encoder;
    EXPECT_EQ(ErrorOf([&] { encoder.SaveFile(folder_ / "a.jpg"); }), 9);
    Sample(encoder);
    encoder.SetSamplingFrequencies(1, 1, 1, 1, 1, 1);  // discards the picture
    EXPECT_EQ(ErrorOf([&] { encoder.SaveFile(folder_ / "a.jpg"); }), 9);
    EXPECT_FALSE(fs::exists(folder_ / "a.jpg"));
}

TEST_F(Failure, SizesThatMakeNoCanvasReturnOne) {
    ClsJPEG encoder;
    MemoryPicture picture(4, 4, test::FlatRgb(4, 4, 9, 9, 9));
    for (auto [w, h] : {std::pair{0, 8}, {8, 0}, {-8, 8}, {8, -1}, {-100, -100}})
        EXPECT_EQ(encoder.SampleHDC(picture, w, h), 1) << w << "x" << h;
    EXPECT_EQ(ErrorOf([&] { encoder.SampleHDC(picture, 2147483647, 8); }), 6);
    EXPECT_EQ(ErrorOf([&] { encoder.SampleHDC(picture, 60000, 60000); }), 6);
}

TEST_F(Failure, FailedSamplingDiscardsTheOldPicture) {
    ClsJPEG encoder;
    Sample(encoder);
    MemoryPicture tooBig(4, 4, test::FlatRgb(4, 4, 9, 9, 9));
    tooBig.SetCanvasLimit(100);
    EXPECT_EQ(encoder.SampleHDC(tooBig, 64, 64), 1);
    // The old coefficients must not be written under the new size.
    EXPECT_EQ(ErrorOf([&] { encoder.SaveFile(folder_ / "a.jpg"); }), 9);
    EXPECT_FALSE(fs::exists(folder_ / "a.jpg"));
}

TEST_F(Failure, HeaderFieldsThatDoNotFitAreOverflow) {
    ClsJPEG encoder;
    encoder.SetSamplingFrequencies(1, 1, 0, 0, 0, 0);
    MemoryPicture wide(1, 1, test::FlatRgb(1, 1, 0, 0, 0));
    ASSERT_EQ(encoder.SampleHDC(wide, 65536, 8), 0);
    EXPECT_EQ(ErrorOf([&] { encoder.SaveFile(folder_ / "wide.jpg"); }), 6);

    Sample(encoder);
    encoder.SetComment(std::u16string(65534, u'a'));
    EXPECT_EQ(ErrorOf([&] { encoder.SaveFile(folder_ / "long.jpg"); }), 6);
    encoder.SetComment(std::u16string(65533, u'a'));
    EXPECT_EQ(encoder.SaveFile(folder_ / "longest.jpg"), 0);
    encoder.SetComment(u"\u4e2d");
    EXPECT_EQ(ErrorOf([&] { encoder.SaveFile(folder_ / "wide-char.jpg"); }), 6);
    for (auto name : {"wide.jpg", "long.jpg", "wide-char.jpg"}) EXPECT_FALSE(fs::exists(folder_ / name));
}

TEST_F(Failure, ErrorsCarryTheirDescriptions) {
    try {
        ClsJPEG encoder;
        encoder.SaveFile(folder_ / "a.jpg");
        FAIL();
    } catch (const ComponentError& e) {
        EXPECT_EQ(e.number(), 9);
        EXPECT_STREQ(e.description(), "Subscript out of range");
    }
}

// Every boundary sees the exception in flight through the one classification.
TEST(CurrentError, ClassifiesTheExceptionInFlight) {
    struct Case {
        std::function<void()> raise;
        CaughtError::Kind kind;
        int32_t number;
        std::string description;
    };
    const Case cases[] = {
        {[] { throw ComponentError::ObjectRequired(); }, CaughtError::Kind::Component, 424, "Object required"},
        {[] { throw ComponentError(error_number::kInvalidValue, messages::kInvalidSampling); },
         CaughtError::Kind::Component, 1, "无效采样值"},
        {[] { throw std::bad_alloc(); }, CaughtError::Kind::OutOfMemory, 7, "Out of memory"},
        {[] { throw std::runtime_error("no answer"); }, CaughtError::Kind::System, 440, "no answer"},
        {[] { throw 42; }, CaughtError::Kind::Unknown, 440, "Automation error"},
    };
    for (const Case& c : cases) {
        CaughtError error;
        try {
            c.raise();
        } catch (...) {
            error = CurrentError();
        }
        EXPECT_EQ(error.kind, c.kind) << c.description;
        EXPECT_EQ(error.number, c.number) << c.description;
        EXPECT_EQ(error.description, c.description);
    }
}

}  // namespace
}  // namespace vardolin
