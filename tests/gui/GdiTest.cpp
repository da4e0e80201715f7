// Every GDI object the windows make is released on Windows too. Windows
// refuses DeleteObject on an object still selected into a device context, so
// the object leaks; Wine puts the deletion off until the object is
// deselected, which hides the fault. The test puts its own DeleteObject into
// this program's import table and counts objects still there after their
// deletion.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "about/frmAbout.h"
#include "support/Gui.h"
#include "support/MainWindow.h"

namespace {

using DeleteObjectFn = BOOL(WINAPI*)(HGDIOBJ);

DeleteObjectFn realDeleteObject = nullptr;
int deleted = 0;
int keptSelected = 0;

BOOL WINAPI CountingDeleteObject(HGDIOBJ object) {
    const DWORD type = GetObjectType(object);
    const BOOL result = realDeleteObject(object);
    ++deleted;
    if (type != 0 && GetObjectType(object) == type) ++keptSelected;
    return result;
}

// Replaces one imported function of this program for its lifetime.
class ImportPatch {
public:
    ImportPatch(const char* dll, const char* function, void* replacement) {
        auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
            base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
        const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
            if (lstrcmpiA(reinterpret_cast<const char*>(base + d->Name), dll) != 0) continue;
            auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
            auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
            for (; names->u1.AddressOfData; ++names, ++slots) {
                if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
                const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
                if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0) continue;
                slot_ = reinterpret_cast<void**>(&slots->u1.Function);
                original_ = Write(replacement);
                return;
            }
        }
    }
    ~ImportPatch() {
        if (slot_) Write(original_);
    }
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;

    void* Original() const { return original_; }

private:
    void* Write(void* value) {
        DWORD protection;
        VirtualProtect(slot_, sizeof *slot_, PAGE_READWRITE, &protection);
        void* previous = *slot_;
        *slot_ = value;
        VirtualProtect(slot_, sizeof *slot_, protection, &protection);
        return previous;
    }

    void** slot_ = nullptr;
    void* original_ = nullptr;
};

TEST(Gdi, NoObjectIsDeletedWhileStillSelected) {
    ImportPatch patch("gdi32.dll", "DeleteObject", reinterpret_cast<void*>(&CountingDeleteObject));
    ASSERT_NE(patch.Original(), nullptr);
    realDeleteObject = reinterpret_cast<DeleteObjectFn>(patch.Original());

    struct Case {
        const char* name;
        std::function<void()> run;
    };
    const Case cases[] = {
        {"the main window, its preview drawn into",
         [] {
             MainWindowFixture w(true);
             w.ChooseIcon(L"C:\\a.ico", 0);
             PumpMessages();
         }},
        {"the main window across a DPI change",
         [] {
             MainWindowFixture w(true);
             const UINT dpi = w.form.Dpi() * 3 / 2;
             RECT r;
             GetWindowRect(w.form.Hwnd(), &r);
             SendMessageW(w.form.Hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&r));
             PumpMessages();
         }},
        {"the About window",
         [] {
             frmAbout about;
             about.Load();
             ShowWindow(about.Hwnd(), SW_SHOW);
             PumpMessages();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        deleted = keptSelected = 0;
        c.run();
        EXPECT_GT(deleted, 0) << "the windows' objects go through DeleteObject";
        EXPECT_EQ(keptSelected, 0);
    }
}

}  // namespace
