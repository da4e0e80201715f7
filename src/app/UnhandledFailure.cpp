#include "app/UnhandledFailure.h"

#include <new>
#include <string>

#include "platform/Platform.h"
#include "platform/PlatformError.h"
#include "platform/Services.h"
#include "platform/Text.h"

namespace {

// The failure in the user's language: the call's name and the code Windows
// gave stay as they are, for whoever reads them out to a support person.
std::wstring FrenchText(const std::exception& failure) {
    if (const auto* platformFailure = dynamic_cast<const PlatformError*>(&failure)) {
        const std::string& call = platformFailure->Call();
        return L"l'appel " + std::wstring(call.begin(), call.end()) + L" a échoué (code " +
               DecimalText(platformFailure->Code()) + L").";
    }
    if (dynamic_cast<const std::bad_alloc*>(&failure)) return L"mémoire insuffisante.";
    return L"une erreur inattendue s'est produite.";
}

}  // namespace

void ReportUnhandledFailure(const std::exception& failure) {
    std::wstring title = L"Tivrelon";
    try {
        title = services::App().title;
    } catch (const std::exception&) {
    }
    platform().MessageBoxW(GetActiveWindow(), L"Erreur d'exécution :\n" + FrenchText(failure), title,
                           MB_OK | MB_ICONHAND);
}
