// vardolin-registry-rows MODULE FOLDER: prints what registering vardolin.dll
// writes below Software\Classes, one value a line, KEY TAB NAME TAB VALUE in
// UTF-8 (an empty NAME is the key's default value), with MODULE and FOLDER
// standing for the DLL's path and its folder. `make dist` turns the lines
// into the registry rows of the installer package of this build's bitness,
// so that the package registers exactly what the DLL registers itself.
#include "server/Registration.h"
#include "win/TextEncoding.h"

#include <windows.h>

#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        fputws(L"usage: vardolin-registry-rows MODULE FOLDER\n", stderr);
        return 2;
    }
    try {
        std::string text;
        for (const vardolin::server::RegistryRow& row : vardolin::server::RegistryRows(argv[1], argv[2]))
            text += vardolin::WideToUtf8(row.key + L"\t" + row.name + L"\t" + row.value) + "\n";
        DWORD written = 0;
        HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
        return WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && written == text.size()
                   ? 0
                   : 1;
    } catch (...) {
        return 1;
    }
}
