// ClsJPEG over COM: the encoder with the device context of the caller as its
// picture source.
#pragma once

#include "encoder/ClsJPEG.h"
#include "automation/DispatchObject.h"
#include "Vardolin_h.h"

namespace vardolin::server {

class JpegObject final : public DispatchObject<_ClsJPEG, IID__ClsJPEG> {
public:
    JpegObject();

    STDMETHODIMP get_Quality(LONG* value) override;
    STDMETHODIMP put_Quality(LONG value) override;
    STDMETHODIMP SetSamplingFrequencies(LONG* H1, LONG* V1, LONG* H2, LONG* V2, LONG* H3, LONG* V3) override;
    STDMETHODIMP SampleHDC(LONG lHDC, LONG lWidth, LONG lHeight, LONG lSrcLeft, LONG lSrcTop, LONG* status) override;
    STDMETHODIMP get_Comment(BSTR* value) override;
    STDMETHODIMP put_Comment(BSTR value) override;
    STDMETHODIMP SaveFile(BSTR* Filename, LONG* status) override;

protected:
    HRESULT InvokeMember(DISPID member, WORD flags, const DispatchArgs& args, VARIANT* result) override;

private:
    HRESULT InvokeQuality(WORD flags, const DispatchArgs& args, VARIANT* result);
    HRESULT InvokeSetSamplingFrequencies(const DispatchArgs& args);
    HRESULT InvokeSampleHDC(const DispatchArgs& args, VARIANT* result);
    HRESULT InvokeComment(WORD flags, const DispatchArgs& args, VARIANT* result);
    HRESULT InvokeSaveFile(const DispatchArgs& args, VARIANT* result);

    ClsJPEG Encoder;
};

}  // namespace vardolin::server
