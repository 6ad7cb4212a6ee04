// What every dialog of the module does as it opens, and a plain dialog that only shows its template.
#pragma once

#include <cstdint>

#include "platform/AfxWin.h"
#include "PivoraHost.h"

// A parameter of the host's root object; null when the host has handed over no root (or took it back
// between two messages of a dialog) or has no such parameter. Dialogs skip what this cannot reach.
IHostParameter* GetRootParameter(int32_t nId);

// Gives an editing dialog's settings snapshot back: to the printer the root names now, or to the one that
// made it when the root names none by then. Clears the pointer.
void ReleaseSettingsSnapshot(IHostSnapshot*& pSnapshot, IHostPrinter* pMadeBy);

// Runs the translation pass over the dialog with the module's language file.
void TranslateDialogOnOpen(CWnd& dialog);

// A template shown translated, closed by any of its push buttons (the button's id is the result).
class CDlgCommon : public CDialogEx {
public:
    explicit CDlgCommon(UINT nIdTemplate) : CDialogEx(nIdTemplate) {}

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
};
