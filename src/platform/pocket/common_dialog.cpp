#include "platform/pocket/common_dialog.h"

#include <algorithm>

#include "platform/pocket/open_file_page.h"
#include "platform/pocket/shell_folders.h"
#include "text/utf.h"

namespace qv {

namespace {

thread_local DWORD extendedError = 0;

BOOL Fail(DWORD error) {
    extendedError = error;
    return 0;
}

// Hands the path back whole, or not at all.
BOOL ReturnPath(OPENFILENAMEW& request, std::u16string_view path) {
    if (path.size() + 1 > request.nMaxFile) {
        request.lpstrFile[0] = u'\0';
        return Fail(FNERR_BUFFERTOOSMALL);
    }
    std::copy(path.begin(), path.end(), request.lpstrFile);
    request.lpstrFile[path.size()] = u'\0';
    const std::size_t nameStart = path.rfind(u'/') + 1;
    const std::size_t dot = path.rfind(u'.');
    request.nFileOffset = static_cast<WORD>(std::min<std::size_t>(nameStart, 0xFFFF));
    request.nFileExtension = static_cast<WORD>(dot != std::u16string_view::npos && dot > nameStart
                                                   ? std::min<std::size_t>(dot + 1, 0xFFFF)
                                                   : 0);
    if (request.lpstrFileTitle && request.nMaxFileTitle > 0) {
        const std::u16string_view title = path.substr(nameStart);
        const std::size_t kept = std::min<std::size_t>(title.size(), request.nMaxFileTitle - 1);
        std::copy_n(title.begin(), kept, request.lpstrFileTitle);
        request.lpstrFileTitle[kept] = u'\0';
    }
    extendedError = 0;
    return 1;
}

}  // namespace

BOOL GetOpenFileNameW(OPENFILENAMEW* request) {
    return GetOpenFileNameW(request, OpenFileExtras{});
}

BOOL GetOpenFileNameW(OPENFILENAMEW* request, const OpenFileExtras& extras) {
    if (!request || request->lStructSize != sizeof(OPENFILENAMEW)) {
        return Fail(CDERR_STRUCTSIZE);
    }
    if (!request->lpstrFile || request->nMaxFile == 0 ||
        (request->Flags & (OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_ALLOWMULTISELECT)) != 0) {
        return Fail(CDERR_INITIALIZATION);
    }
    const ShellFolders& folders = CurrentShellFolders();
    const std::u16string_view initial =
        request->lpstrInitialDir && *request->lpstrInitialDir != u'\0'
            ? std::u16string_view(request->lpstrInitialDir)
            : std::u16string_view(u"\\My Documents");
    const std::optional<std::filesystem::path> start = SystemFolder(initial, folders);
    if (!start) {
        return Fail(FNERR_INVALIDFILENAME);
    }
    OpenFilePageSetup setup;
    setup.startFolder = *start;
    setup.extras = extras;
    setup.patterns = FilePatterns::FromFilter(request->lpstrFilter, request->nFilterIndex);
    if (request->lpstrTitle && *request->lpstrTitle != u'\0') {
        setup.title = request->lpstrTitle;
    }
    const OpenFilePageResult result = RunOpenFilePage(request->hwndOwner, setup);
    if (!result.shown) {
        return Fail(CDERR_DIALOGFAILURE);
    }
    if (!result.chosen) {
        extendedError = 0;
        return 0;
    }
    const std::optional<std::u16string> path = Utf8ToUtf16(result.chosen->string());
    if (!path) {
        return Fail(FNERR_INVALIDFILENAME);
    }
    return ReturnPath(*request, *path);
}

DWORD CommDlgExtendedError() {
    return extendedError;
}

}  // namespace qv
