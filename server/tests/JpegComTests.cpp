// ClsJPEG through its COM interface on real device contexts: the written
// files, what a decoder reads back, errors, and the DLL's resource hygiene.
#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <optional>

#include "encoder/ClsJPEG.h"
#include "win/ComAdopt.h"
#include "win/ComObject.h"
#include "encoder/MemoryPicture.h"
#include "server/tests/TestModule.h"
#include "server/tests/TestPictures.h"
#include "Vardolin_h.h"

using Microsoft::WRL::ComPtr;
using namespace vardolin::test;

namespace {

struct Settings {
    LONG quality = 75;
    std::array<LONG, 6> sampling{2, 2, 1, 1, 1, 1};
    std::wstring comment;
};

struct Region {
    int32_t left, top, width, height;
};

constexpr HRESULT AutomationError(int number) { return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, number); }

std::vector<uint8_t> PortableEncode(const Picture& source, const Settings& settings, const Region& region) {
    vardolin::ClsJPEG encoder;
    encoder.SetQuality(settings.quality);
    const auto& s = settings.sampling;
    encoder.SetSamplingFrequencies(s[0], s[1], s[2], s[3], s[4], s[5]);
    encoder.SetComment(std::u16string(settings.comment.begin(), settings.comment.end()));
    vardolin::MemoryPicture picture(source.width, source.height, source.rgb);
    encoder.SampleHDC(picture, region.width, region.height, region.left, region.top);
    return encoder.Encode();
}

class JpegOverCom : public ::testing::Test {
protected:
    ComPtr<_ClsJPEG> NewEncoder() {
        ComPtr<_ClsJPEG> jpeg;
        EXPECT_EQ(server.Create(CLSID_ClsJPEG, IID__ClsJPEG, jpeg.GetAddressOf()), S_OK);
        return jpeg;
    }

    // SampleHDC and SaveFile through the interface; returns the file's bytes.
    std::vector<uint8_t> EncodeThroughCom(const Picture& source, const Settings& settings, const Region& region,
                                          const std::filesystem::path& file) {
        ComPtr<_ClsJPEG> jpeg = NewEncoder();
        PictureDC dc(source);
        auto s = settings.sampling;
        EXPECT_EQ(jpeg->put_Quality(settings.quality), S_OK);
        EXPECT_EQ(jpeg->SetSamplingFrequencies(&s[0], &s[1], &s[2], &s[3], &s[4], &s[5]), S_OK);
        BSTR comment = SysAllocString(settings.comment.c_str());
        EXPECT_EQ(jpeg->put_Comment(comment), S_OK);
        SysFreeString(comment);
        LONG status = -1;
        EXPECT_EQ(jpeg->SampleHDC(dc.AsLong(), region.width, region.height, region.left, region.top, &status), S_OK);
        EXPECT_EQ(status, 0);
        BSTR name = SysAllocString(file.c_str());
        EXPECT_EQ(jpeg->SaveFile(&name, &status), S_OK);
        SysFreeString(name);
        EXPECT_EQ(status, 0);
        return ReadBytes(file);
    }

    ComApartment apartment;
    LoadedServer server;
    TempFolder folder;
};

struct OneToOneCase {
    const char* name;
    Picture source;
    Settings settings;
    Region region;
};

std::filesystem::path CrossCheckFolder() { return std::filesystem::path(TestDirectory()) / L"crosscheck"; }

// Copies for the check across builds (scripts/wine-crosscheck.sh): the
// pixels, the DLL's file and the settings for the native encoder.
void KeepForCrossCheck(const OneToOneCase& c, const std::vector<uint8_t>& jpeg) {
    auto folder = CrossCheckFolder();
    std::filesystem::create_directories(folder);
    std::string name = c.name;
    WritePpm(folder / (name + ".ppm"), c.source.Crop(c.region.left, c.region.top, c.region.width, c.region.height));
    std::ofstream(folder / (name + ".jpg"), std::ios::binary)
        .write(reinterpret_cast<const char*>(jpeg.data()), static_cast<std::streamsize>(jpeg.size()));
    const auto& s = c.settings.sampling;
    std::ofstream(folder / (name + ".args"))
        << "--quality " << c.settings.quality << " --sampling " << s[0] << ',' << s[1] << ',' << s[2] << ',' << s[3]
        << ',' << s[4] << ',' << s[5] << (c.settings.comment.empty() ? "" : " --comment test") << '\n';
}

TEST_F(JpegOverCom, OneToOneSamplingWritesTheBytesOfThePortableEncoder) {
    const OneToOneCase cases[] = {
        {"colour-16x16", Pattern(16, 16, true), {75, {1, 1, 1, 1, 1, 1}, {}}, {0, 0, 16, 16}},
        {"colour-offset-37x23", Pattern(48, 32, true), {90, {1, 1, 1, 1, 1, 1}, {}}, {5, 3, 37, 23}},
        {"grey-20x10", Pattern(20, 10, true), {50, {2, 2, 0, 0, 0, 0}, {}}, {0, 0, 20, 10}},
        {"colour-5x5-q100", Pattern(5, 5, false), {100, {1, 1, 1, 1, 1, 1}, {}}, {0, 0, 5, 5}},
        {"colour-comment-64x48", Pattern(64, 48, true), {30, {1, 1, 1, 1, 1, 1}, L"test"}, {0, 0, 64, 48}},
    };
    std::filesystem::remove_all(CrossCheckFolder());  // no cases left from older runs
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto viaCom = EncodeThroughCom(c.source, c.settings, c.region, folder / std::filesystem::path(c.name));
        auto portable = PortableEncode(c.source, c.settings, c.region);
        ASSERT_FALSE(viaCom.empty());
        EXPECT_TRUE(viaCom == portable) << "COM " << viaCom.size() << " bytes, portable " << portable.size();
        KeepForCrossCheck(c, viaCom);
    }
}

TEST_F(JpegOverCom, FilesDecodeToTheSampledPicture) {
    const Picture source = Pattern(40, 30, false);
    struct {
        const char* name;
        Settings settings;
        double tolerance;
    } cases[] = {
        {"one-to-one", {100, {1, 1, 1, 1, 1, 1}, {}}, 2.0},
        {"subsampled", {90, {2, 2, 1, 1, 1, 1}, {}}, 6.0},
        {"chroma-stretched-wide", {90, {1, 1, 4, 1, 1, 2}, {}}, 6.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto file = folder / std::filesystem::path(c.name);
        EncodeThroughCom(source, c.settings, {0, 0, 40, 30}, file);
        Picture decoded = DecodeJpeg(file);
        ASSERT_EQ(decoded.width, 40);
        ASSERT_EQ(decoded.height, 30);
        EXPECT_LT(MeanAbsoluteDifference(decoded, source), c.tolerance);
    }
}

TEST_F(JpegOverCom, EncoderErrorsBecomeAutomationErrorsWithoutSource) {
    ComPtr<_ClsJPEG> jpeg = NewEncoder();
    LONG bad = 5, one = 1;
    EXPECT_EQ(jpeg->SetSamplingFrequencies(&bad, &one, &one, &one, &one, &one), AutomationError(1));
    ComPtr<IErrorInfo> info;
    ASSERT_EQ(GetErrorInfo(0, &info), S_OK);
    BSTR description = nullptr, source = nullptr;
    info->GetDescription(&description);
    info->GetSource(&source);
    EXPECT_STREQ(description, L"无效采样值");
    EXPECT_EQ(SysStringLen(source), 0u);
    SysFreeString(description);
    SysFreeString(source);

    ComPtr<ISupportErrorInfo> support;
    ASSERT_EQ(jpeg.As(&support), S_OK);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID__ClsJPEG), S_OK);

    BSTR name = SysAllocString((folder / L"unsampled.jpg").c_str());
    LONG status = -1;
    EXPECT_EQ(jpeg->SaveFile(&name, &status), AutomationError(9));
    SysFreeString(name);
}

// Takes GDI handles until the process has none left, then hands back the
// given number. A leak of even one handle then makes the next sample fail.
class GdiHoard {
public:
    explicit GdiHoard(size_t spare) {
        while (HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3))) Brushes.push_back(brush);
        for (size_t i = 0; i < spare && !Brushes.empty(); ++i) {
            DeleteObject(Brushes.back());
            Brushes.pop_back();
        }
    }
    ~GdiHoard() {
        for (HBRUSH brush : Brushes) DeleteObject(brush);
    }
    GdiHoard(const GdiHoard&) = delete;
    GdiHoard& operator=(const GdiHoard&) = delete;

    size_t FreeHandles() const {
        std::vector<HBRUSH> probe;
        while (HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3))) probe.push_back(brush);
        for (HBRUSH brush : probe) DeleteObject(brush);
        return probe.size();
    }

private:
    std::vector<HBRUSH> Brushes;
};

LONG Sample(_ClsJPEG* jpeg, const PictureDC& dc, LONG width, LONG height) {
    LONG status = -1;
    EXPECT_EQ(jpeg->SampleHDC(dc.AsLong(), width, height, 0, 0, &status), S_OK);
    return status;
}

HRESULT Save(_ClsJPEG* jpeg, const std::filesystem::path& file, LONG& status) {
    BSTR name = SysAllocString(file.c_str());
    HRESULT hr = jpeg->SaveFile(&name, &status);
    SysFreeString(name);
    return hr;
}

TEST_F(JpegOverCom, SampleHDCReturnsOneWhenTheMemoryDCOrTheBitmapCannotBeMade) {
    ComPtr<_ClsJPEG> jpeg = NewEncoder();
    PictureDC dc(Pattern(16, 16, false));
    LONG status = -1;
    {
        GdiHoard noHandleLeft(0);
        EXPECT_EQ(Sample(jpeg.Get(), dc, 16, 16), 1) << "no memory DC";
    }
    EXPECT_EQ(Save(jpeg.Get(), folder / L"none.jpg", status), AutomationError(9)) << "no picture was taken";
    {
        GdiHoard oneHandleLeft(1);
        EXPECT_EQ(Sample(jpeg.Get(), dc, 16, 16), 1) << "memory DC but no bitmap";
        EXPECT_EQ(oneHandleLeft.FreeHandles(), 1u) << "the memory DC was not deleted";
    }
    {
        GdiHoard enough(2);
        EXPECT_EQ(Sample(jpeg.Get(), dc, 16, 16), 0);
        EXPECT_EQ(enough.FreeHandles(), 2u);
    }
    EXPECT_EQ(Save(jpeg.Get(), folder / L"some.jpg", status), S_OK);
    EXPECT_EQ(status, 0);
}

TEST_F(JpegOverCom, CreateReleaseCyclesLeakNothingAndLetTheDllUnload) {
    const Picture source = Pattern(24, 16, true);
    PictureDC dc(source);
    const DWORD countedBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);  // 0 where not counted
    {
        GdiHoard justEnough(2);  // what one SampleHDC needs at a time
        for (int cycle = 0; cycle < 25; ++cycle) {
            ComPtr<_ClsJPEG> jpeg = NewEncoder();
            EXPECT_EQ(server.CanUnloadNow(), S_FALSE) << "an object is alive";
            LONG status = -1;
            EXPECT_EQ(Save(jpeg.Get(), folder / L"early.jpg", status), AutomationError(9));
            ASSERT_EQ(Sample(jpeg.Get(), dc, 24, 16), 0) << "cycle " << cycle;
            ASSERT_EQ(Sample(jpeg.Get(), dc, 20, 12), 0) << "cycle " << cycle;
            EXPECT_EQ(Save(jpeg.Get(), folder / (L"cycle" + std::to_wstring(cycle)), status), S_OK);
        }
        EXPECT_EQ(justEnough.FreeHandles(), 2u);
    }
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), countedBefore);
    EXPECT_EQ(server.CanUnloadNow(), S_OK);

    ComPtr<IClassFactory> factory;
    ASSERT_EQ(server.GetClassObject(CLSID_ClsJPEG, IID_IClassFactory, &factory), S_OK);
    factory->LockServer(TRUE);
    factory.Reset();
    EXPECT_EQ(server.CanUnloadNow(), S_FALSE) << "a lock keeps the DLL";
    ASSERT_EQ(server.GetClassObject(CLSID_ClsJPEG, IID_IClassFactory, &factory), S_OK);
    factory->LockServer(FALSE);
    factory.Reset();
    EXPECT_EQ(server.CanUnloadNow(), S_OK);
}

// An automation object with only a default value: a number, or itself.
// The test holds the one reference it starts with.
class DefaultValueObject final : public vardolin::ComObject<DefaultValueObject, IDispatch> {
public:
    explicit DefaultValueObject(std::optional<LONG> number) : Number(number) {}

    void* Interface(REFIID iid) noexcept {
        return iid == IID_IUnknown || iid == IID_IDispatch ? static_cast<IDispatch*>(this) : nullptr;
    }
    // The references held now: taking one more and giving it back tells.
    ULONG References() {
        AddRef();
        return Release();
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return *count = 0, S_OK; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                     UINT*) override {
        if (member != DISPID_VALUE || !result) return DISP_E_MEMBERNOTFOUND;
        ++Fetches;
        VariantInit(result);
        if (Number) {
            V_VT(result) = VT_I4;
            V_I4(result) = *Number;
        } else {
            V_VT(result) = VT_DISPATCH;
            V_DISPATCH(result) = this;
            AddRef();
        }
        return S_OK;
    }

    std::optional<LONG> Number;
    int Fetches = 0;
};

HRESULT PutQuality(IDispatch* jpeg, DefaultValueObject& value, UINT& argErr) {
    VARIANT arg;
    VariantInit(&arg);
    V_VT(&arg) = VT_DISPATCH;
    V_DISPATCH(&arg) = &value;
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params{&arg, &put, 1, 1};
    return jpeg->Invoke(1, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, &argErr);
}

TEST_F(JpegOverCom, AnObjectArgumentGivesItsDefaultValueAndOneThatIsItselfIsATypeMismatch) {
    ComPtr<_ClsJPEG> jpeg = NewEncoder();
    ComPtr<IDispatch> dispatch;
    ASSERT_EQ(jpeg.As(&dispatch), S_OK);
    UINT argErr = 99;

    ComPtr<DefaultValueObject> eighty = vardolin::AdoptReference(new DefaultValueObject(80));
    EXPECT_EQ(PutQuality(dispatch.Get(), *eighty.Get(), argErr), S_OK);
    LONG quality = 0;
    EXPECT_EQ(jpeg->get_Quality(&quality), S_OK);
    EXPECT_EQ(quality, 80);

    ComPtr<DefaultValueObject> itself = vardolin::AdoptReference(new DefaultValueObject(std::nullopt));
    EXPECT_EQ(PutQuality(dispatch.Get(), *itself.Get(), argErr), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argErr, 0u);
    EXPECT_EQ(itself->Fetches, 1);
    EXPECT_EQ(itself->References(), 1u);  // every reference handed out came back
    EXPECT_EQ(jpeg->get_Quality(&quality), S_OK);
    EXPECT_EQ(quality, 80);
}

TEST_F(JpegOverCom, Class1OffersFormShowAndChecksItsArguments) {
    ComPtr<IDispatch> class1;
    ASSERT_EQ(server.Create(CLSID_Class1, IID_IDispatch, class1.GetAddressOf()), S_OK);
    LPOLESTR name = const_cast<LPOLESTR>(L"form_SHOW");
    DISPID id = 0;
    ASSERT_EQ(class1->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), S_OK);
    VARIANT args[2];
    for (auto& arg : args) {
        VariantInit(&arg);
        V_VT(&arg) = VT_DISPATCH;
        V_DISPATCH(&arg) = nullptr;
    }
    DISPPARAMS params{args, nullptr, 2, 0};
    EXPECT_EQ(class1->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr),
              DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(class1->Invoke(99, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);
}

}  // namespace
