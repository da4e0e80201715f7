#include "ui/IconPicker.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <type_traits>
#include <vector>

#include "platform/Declared.h"
#include "platform/Handles.h"
#include "platform/IconFile.h"
#include "platform/PlatformError.h"
#include "ui/DialogTemplate.h"

namespace {

constexpr WORD kPathLabel = 1001;
constexpr WORD kPromptLabel = 1002;
constexpr WORD kIconList = 1003;

constexpr wchar_t kPrompt[] = L"Sélectionnez une icône dans la liste ci-dessous :";
constexpr wchar_t kNoIcons[] = L"Ce fichier ne contient aucune icône.";

struct ImageListDeleter {
    void operator()(HIMAGELIST list) const { if (list) ImageList_Destroy(list); }
};
using UniqueImageList = std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, ImageListDeleter>;

struct Picker {
    const std::wstring& file;
    int index;
    HIMAGELIST images;
    int count;
};

// Every icon of the file at the system's large-icon size, in the order
// ExtractIcon counts them, so that item n of the list is icon index n. A
// damaged icon file lists none.
UniqueImageList ExtractAll(const std::wstring& file, int& count) {
    static Declared<UINT(WINAPI*)(LPCWSTR, int, HICON*, HICON*, UINT)> extractIconEx{declared::shell32,
                                                                                     "ExtractIconExW"};
    const int total =
        IsDamagedIconFile(file) ? 0 : static_cast<int>((*extractIconEx)(file.c_str(), -1, nullptr, nullptr, 0));
    UniqueImageList list(ImageList_Create(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON),
                                          ILC_COLOR32 | ILC_MASK, std::max(total, 1), 0));
    if (!list) ThrowLastError("ImageList_Create");
    // One at a time: Wine's 64-bit ExtractIconEx fills only the first slot
    // of a batch.
    count = 0;
    for (int i = 0; i < total; ++i) {
        HICON raw = nullptr;
        (*extractIconEx)(file.c_str(), i, &raw, nullptr, 1);
        const UniqueIcon icon(raw);
        // Stop at an icon that will not load: listing those after it would
        // misnumber them.
        if (!icon || ImageList_AddIcon(list.get(), icon.get()) < 0) break;
        ++count;
    }
    return list;
}

void Select(HWND list, int item) {
    ListView_SetItemState(list, item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list, item, FALSE);
}

bool Confirm(HWND dialog, Picker& picker) {
    const int item = ListView_GetNextItem(GetDlgItem(dialog, kIconList), -1, LVNI_SELECTED);
    if (item < 0) return false;
    picker.index = item;
    EndDialog(dialog, 1);
    return true;
}

void FillList(HWND dialog, Picker& picker) {
    HWND list = GetDlgItem(dialog, kIconList);
    ListView_SetImageList(list, picker.images, LVSIL_NORMAL);
    for (int i = 0; i < picker.count; ++i) {
        LVITEMW item{};
        item.mask = LVIF_IMAGE;
        item.iItem = i;
        item.iImage = i;
        ListView_InsertItem(list, &item);
    }
    SetDlgItemTextW(dialog, kPathLabel, picker.file.c_str());
    SetDlgItemTextW(dialog, kPromptLabel, picker.count ? kPrompt : kNoIcons);
    if (picker.count) Select(list, picker.index >= 0 && picker.index < picker.count ? picker.index : 0);
    EnableWindow(GetDlgItem(dialog, IDOK), picker.count > 0);
    SetFocus(list);
}

INT_PTR CALLBACK PickerProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* picker = reinterpret_cast<Picker*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        FillList(dialog, *reinterpret_cast<Picker*>(lParam));
        return FALSE;  // the focus is set: on the list
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK && picker) {
            Confirm(dialog, *picker);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, 0);
            return TRUE;
        }
        return FALSE;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (!picker || header->idFrom != kIconList) return FALSE;
        if (header->code == LVN_ITEMCHANGED) {
            // OK only while an icon is selected: a confirmed pick always names one.
            EnableWindow(GetDlgItem(dialog, IDOK), ListView_GetSelectedCount(header->hwndFrom) > 0);
        } else if (header->code == NM_DBLCLK && reinterpret_cast<const NMITEMACTIVATE*>(lParam)->iItem >= 0) {
            Confirm(dialog, *picker);
        }
        return TRUE;
    }
    default:
        return FALSE;
    }
}

}  // namespace

bool PickIconFromFile(HWND owner, const std::wstring& file, int& index) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&classes);

    Picker picker{file, index, nullptr, 0};
    const UniqueImageList images = ExtractAll(file, picker.count);
    picker.images = images.get();

    // clang-format off
    DialogTemplate dialog(DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, nullptr, kIconPickerCaption,
                          240, 172, L"MS Shell Dlg", 8);
    dialog.Add(L"STATIC", L"Icônes du fichier :", 0xFFFF, SS_LEFT, 7, 7, 226, 9);
    dialog.Add(L"STATIC", L"", kPathLabel, SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS, 7, 17, 226, 9);
    dialog.Add(L"STATIC", L"", kPromptLabel, SS_LEFT, 7, 31, 226, 9);
    // Shared: the image list is ours and outlives the list.
    dialog.Add(WC_LISTVIEWW, L"", kIconList,
               WS_BORDER | WS_TABSTOP | LVS_ICON | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_AUTOARRANGE |
               LVS_SHAREIMAGELISTS, 7, 42, 226, 102);
    dialog.Add(L"BUTTON", L"OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 129, 151, 50, 14);
    dialog.Add(L"BUTTON", L"Annuler", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 183, 151, 50, 14);
    // clang-format on

    const INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.Get(), owner, &PickerProc,
                                                   reinterpret_cast<LPARAM>(&picker));
    if (result == -1) ThrowLastError("DialogBoxIndirectParam");
    if (result == 0) return false;
    index = picker.index;
    return true;
}
