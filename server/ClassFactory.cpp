#include "server/ClassFactory.h"

#include "server/Class1Object.h"
#include "server/JpegObject.h"
#include "win/ComObject.h"

namespace vardolin::server {
namespace {

template <class Object>
class ClassFactory final : public CountedComObject<ClassFactory<Object>, IClassFactory> {
public:
    void* Interface(REFIID riid) noexcept {
        return riid == IID_IUnknown || riid == IID_IClassFactory ? static_cast<IClassFactory*>(this) : nullptr;
    }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        return CreateAndQuery<Object>(riid, object);
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        LockModule(lock != FALSE);
        return S_OK;
    }
};

template <class Object>
HRESULT QueryNewFactory(REFIID riid, void** factory) noexcept {
    return CreateAndQuery<ClassFactory<Object>>(riid, factory);
}

const ServerClass kServerClasses[] = {
    {CLSID_ClsJPEG, L"Vardolin.ClsJPEG", QueryNewFactory<JpegObject>},
    {CLSID_Class1, L"Vardolin.Class1", QueryNewFactory<Class1Object>},
};

}  // namespace

std::span<const ServerClass> ServerClasses() noexcept { return kServerClasses; }

HRESULT GetClassFactory(REFCLSID clsid, REFIID riid, void** factory) noexcept {
    if (!factory) return E_POINTER;
    *factory = nullptr;
    for (const ServerClass& served : kServerClasses)
        if (clsid == served.clsid) return served.queryFactory(riid, factory);
    return CLASS_E_CLASSNOTAVAILABLE;
}

}  // namespace vardolin::server
