#include "app/UnhandledFailure.h"

#include <string>

#include "platform/Platform.h"
#include "platform/Services.h"

void ReportUnhandledFailure(const std::exception& failure) {
    std::wstring title = L"Tivrelon";
    try {
        title = services::App().title;
    } catch (const std::exception&) {
    }
    const std::string what = failure.what();
    platform().MessageBoxW(GetActiveWindow(), L"Erreur d'exécution :\n" + std::wstring(what.begin(), what.end()),
                           title, MB_OK | MB_ICONHAND);
}
