// Dialogs from templates: creation, modal dialogs, relayout from another template, units.
#include <algorithm>

#include "dialog_state.h"
#include "dialog_template_reader.h"

using namespace user_dialog;

namespace {

HWND FirstTabStop(HWND dialog)
{
  HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
  return first && first != dialog ? first : nullptr;
}

// Places the dialog: x and y are relative to the parent's client area for a child, to the
// owner's client area for a popup (unless DS_ABSALIGN); DS_CENTER centres it on the screen.
POINT DialogOrigin(const DialogSpec& spec, const RECT& pixels, HWND parent, SIZE windowSize)
{
  POINT origin{pixels.left, pixels.top};
  if (spec.style & WS_CHILD)
    return origin;
  if (spec.style & DS_CENTER) {
    origin.x = (GetSystemMetrics(SM_CXSCREEN) - windowSize.cx) / 2;
    origin.y = (GetSystemMetrics(SM_CYSCREEN) - windowSize.cy) / 2;
    return origin;
  }
  if (parent && !(spec.style & DS_ABSALIGN))
    ClientToScreen(parent, &origin);
  return origin;
}

}  // namespace

HWND user_dialog::CreateDialogOfTemplate(HINSTANCE instance, LPCDLGTEMPLATE dialogTemplate, HWND parent,
                                         DLGPROC dialogProc, LPARAM initParam, WORD templateId)
{
  if (!dialogTemplate) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (!EnsureDialogClass())
    return nullptr;
  ParsedDialog parsed = ReadDialogTemplate(dialogTemplate);
  const DialogSpec& spec = parsed.spec;

  DialogFont font = CreateDialogFont(spec.pointSize, spec.faceName);
  RECT client = DialogUnitsToPixels(font, spec.x, spec.y, spec.cx, spec.cy);
  std::u16string className = spec.className.isOrdinal ? std::u16string() : spec.className.text;
  LPCWSTR classArgument = spec.className.isOrdinal ? MAKEINTATOM(spec.className.ordinal)
                          : className.empty()      ? WC_DIALOG
                                                   : className.c_str();
  DWORD style = spec.style & ~WS_VISIBLE;
  DWORD exStyle = spec.exStyle | ((spec.style & DS_CONTROL) ? WS_EX_CONTROLPARENT : 0);
  HWND dialog = CreateWindowExW(exStyle, classArgument, spec.title.c_str(), style, client.left, client.top,
                                client.right - client.left, client.bottom - client.top, parent, nullptr, instance,
                                nullptr);
  if (!dialog) {
    ReleaseDialogFont(font);
    return nullptr;
  }
  auto record = AddDialog(dialog);
  record->font = font;
  record->hasFont = true;
  record->templateId = templateId;

  // The template gives the client size: grow the window by its frame, then place it.
  RECT windowRect, clientRect;
  GetWindowRect(dialog, &windowRect);
  GetClientRect(dialog, &clientRect);
  SIZE size{(windowRect.right - windowRect.left) - clientRect.right + (client.right - client.left),
            (windowRect.bottom - windowRect.top) - clientRect.bottom + (client.bottom - client.top)};
  POINT origin = DialogOrigin(spec, client, parent, size);
  SetWindowPos(dialog, nullptr, origin.x, origin.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);

  SetWindowLongPtrW(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(dialogProc));
  bool setFont = (spec.style & DS_SETFONT) != 0;
  if (setFont)
    SendMessageW(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(font.font), FALSE);

  for (const ParsedItem& item : parsed.items) {
    if (!IsWindow(dialog))
      return nullptr;
    std::u16string itemClass = ItemClassName(item.spec.className);
    std::u16string title = item.spec.title.isOrdinal ? std::u16string() : item.spec.title.text;
    LPCWSTR titleArgument = item.spec.title.isOrdinal ? MAKEINTATOM(item.spec.title.ordinal) : title.c_str();
    RECT rect = DialogUnitsToPixels(font, item.spec.x, item.spec.y, item.spec.cx, item.spec.cy);
    HWND control = itemClass.empty()
                       ? nullptr
                       : CreateWindowExW(item.spec.exStyle | WS_EX_NOPARENTNOTIFY, itemClass.c_str(), titleArgument,
                                         item.spec.style | WS_CHILD, rect.left, rect.top, rect.right - rect.left,
                                         rect.bottom - rect.top, dialog,
                                         reinterpret_cast<HMENU>(static_cast<ULONG_PTR>(item.spec.id)), instance,
                                         const_cast<BYTE*>(item.creationData));
    if (!control) {
      if (spec.style & DS_NOFAILCREATE)
        continue;
      DestroyWindow(dialog);
      return nullptr;
    }
    record->items.push_back(control);
    if (setFont)
      SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.font), FALSE);
  }
  if (!IsWindow(dialog))
    return nullptr;

  HWND focus = FirstTabStop(dialog);
  if (SendMessageW(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(focus), initParam) && IsWindow(dialog)) {
    focus = FirstTabStop(dialog);
    if (focus)
      SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(focus), TRUE);
  }
  if (!IsWindow(dialog))
    return nullptr;
  if (spec.style & WS_VISIBLE)
    ShowWindow(dialog, SW_SHOWNORMAL);
  return dialog;
}

INT_PTR user_dialog::RunDialogOfTemplate(HINSTANCE instance, LPCDLGTEMPLATE dialogTemplate, HWND owner,
                                          DLGPROC dialogProc, LPARAM initParam, WORD templateId)
{
  HWND dialog = CreateDialogOfTemplate(instance, dialogTemplate, owner, dialogProc, initParam, templateId);
  if (!dialog)
    return -1;
  auto record = FindDialog(dialog);
  if (!record)
    return -1;
  bool ownerWasEnabled = owner && IsWindowEnabled(owner);
  if (!record->ended) {
    if (ownerWasEnabled)
      EnableWindow(owner, FALSE);
    ShowWindow(dialog, SW_SHOWNORMAL);
  }
  MSG msg;
  bool quit = false;
  int quitCode = 0;
  while (!record->ended && IsWindow(dialog)) {
    if (!GetMessageW(&msg, nullptr, 0, 0)) {
      quit = true;
      quitCode = static_cast<int>(msg.wParam);
      record->result = 0;
      break;
    }
    if (!IsDialogMessageW(dialog, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  INT_PTR result = record->result;
  if (ownerWasEnabled)
    EnableWindow(owner, TRUE);
  if (IsWindow(dialog))
    DestroyWindow(dialog);
  if (quit)
    PostQuitMessage(quitCode);
  return result;
}

HWND CreateDialogIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATE dialogTemplate, HWND parent, DLGPROC dialogProc,
                                LPARAM initParam)
{
  return CreateDialogOfTemplate(instance, dialogTemplate, parent, dialogProc, initParam, 0);
}

INT_PTR DialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATE dialogTemplate, HWND owner, DLGPROC dialogProc,
                                LPARAM initParam)
{
  return RunDialogOfTemplate(instance, dialogTemplate, owner, dialogProc, initParam, 0);
}

BOOL EndDialog(HWND dialog, INT_PTR result)
{
  auto record = FindDialog(dialog);
  if (!record) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  record->result = result;
  record->ended = true;
  // The owner is enabled again before the dialog goes, so that activation can return to it.
  if (HWND owner = GetWindow(dialog, GW_OWNER))
    EnableWindow(owner, TRUE);
  ShowWindow(dialog, SW_HIDE);
  // Wakes the modal loop when it waits for messages.
  PostMessageW(dialog, WM_NULL, 0, 0);
  return TRUE;
}

BOOL MapDialogRect(HWND dialog, LPRECT rect)
{
  if (!rect || !IsWindow(dialog))
    return FALSE;
  DialogFont font = FontOf(dialog);
  *rect = DialogUnitsToPixels(font, static_cast<short>(rect->left), static_cast<short>(rect->top),
                              static_cast<short>(rect->right - rect->left), static_cast<short>(rect->bottom - rect->top));
  return TRUE;
}

LONG GetDialogBaseUnits()
{
  DialogFont font = CreateDialogFont(0, {});
  ReleaseDialogFont(font);
  return MAKELONG(font.averageWidth, font.height);
}

BOOL RelayoutDialogIndirect(HWND dialog, LPCDLGTEMPLATE dialogTemplate)
{
  auto record = FindDialog(dialog);
  if (!dialogTemplate || !record) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  ParsedDialog parsed = ReadDialogTemplate(dialogTemplate);
  DialogFont font = FontOf(dialog);
  // The template's own items in the order it made them, then any other children.
  std::vector<HWND> children;
  for (HWND item : record->items)
    if (IsWindow(item) && GetParent(item) == dialog)
      children.push_back(item);
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (std::find(children.begin(), children.end(), child) == children.end())
      children.push_back(child);
  std::vector<bool> placed(children.size(), false);
  for (const ParsedItem& item : parsed.items) {
    for (size_t i = 0; i < children.size(); ++i) {
      if (placed[i] || LOWORD(GetDlgCtrlID(children[i])) != item.spec.id)
        continue;
      RECT rect = DialogUnitsToPixels(font, item.spec.x, item.spec.y, item.spec.cx, item.spec.cy);
      SetWindowPos(children[i], nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      placed[i] = true;
      break;
    }
  }
  return TRUE;
}
