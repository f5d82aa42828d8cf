#include "about/AboutArtwork.h"

#include "win/ComAdopt.h"
#include "about/AboutResources.h"
#include "win/ModuleInstance.h"

#include <ocidl.h>
#include <olectl.h>
#include <shlwapi.h>
#include <wrl/client.h>

namespace vardolin::about {

using Microsoft::WRL::ComPtr;

std::span<const BYTE> ArtworkJpeg() noexcept {
    HMODULE module = vardolin::ModuleInstance();
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(IDR_ABOUT_ARTWORK), RT_RCDATA);
    if (!found) return {};
    HGLOBAL loaded = LoadResource(module, found);  // module memory: never freed
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return {};
    return {static_cast<const BYTE*>(bytes), SizeofResource(module, found)};
}

vardolin::UniqueBitmap DecodePicture(std::span<const BYTE> jpeg) noexcept {
    if (jpeg.empty() || jpeg.size() > MAXDWORD) return {};
    ComPtr<IStream> stream = vardolin::AdoptReference(SHCreateMemStream(jpeg.data(), static_cast<UINT>(jpeg.size())));
    if (!stream) return {};
    ComPtr<IPicture> picture;
    if (FAILED(OleLoadPicture(stream.Get(), static_cast<LONG>(jpeg.size()), FALSE, IID_IPicture,
                              reinterpret_cast<void**>(picture.GetAddressOf()))))
        return {};
    short type = PICTYPE_NONE;
    OLE_HANDLE handle = 0;
    if (FAILED(picture->get_Type(&type)) || type != PICTYPE_BITMAP || FAILED(picture->get_Handle(&handle))) return {};
    // The picture owns its bitmap and deletes it on release: keep a copy.
    auto bitmap = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
    return vardolin::UniqueBitmap(static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

vardolin::UniqueBitmap LoadArtwork() noexcept { return DecodePicture(ArtworkJpeg()); }

}  // namespace vardolin::about
