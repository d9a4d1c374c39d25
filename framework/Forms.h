// Forms: top-level windows with a caption and border, created from their
// stored layout, shown modelessly or modally.
#pragma once

#include <windows.h>

#include <any>
#include <functional>
#include <map>
#include <string>

#include "framework/Application.h"
#include "framework/Controls.h"

namespace fw {

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
using TBorderIcons = unsigned;
enum TPosition {
  poDesigned,
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
  poDesktopCenter,
  poMainFormCenter,
  poOwnerFormCenter
};
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrAbort = IDABORT, mrRetry = IDRETRY,
                       mrIgnore = IDIGNORE, mrYes = IDYES, mrNo = IDNO;

using TCloseEvent = std::function<void(TComponent* sender, TCloseAction& action)>;

class TMainMenu;
class TPopupMenu;

class TCustomForm : public TWinControl {
 public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;
  const char* ClassName() const override { return "TCustomForm"; }

  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle s);
  TBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons icons);
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition p) { FPosition = p; }
  TFormStyle FormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle s) { FFormStyle = s; }
  bool KeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool v) { FKeyPreview = v; }

  void SetClientSize(int width, int height) override;
  // Before the window exists, the client area is the bounds less the frame
  // that the border style will give.
  RECT ClientRect() const override;

  void Show();
  void Hide() { SetVisible(false); }
  void SetVisible(bool v) override;
  bool Showing() const override;
  int ShowModal();
  void Close();
  // Frees the form once the messages already waiting have been handled.
  void Release();
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult r) { FModalResult = r; }
  bool IsModal() const { return FModal; }

  TWinControl* ActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* c);
  // Handles Tab, Enter and Escape for the form's controls; true when used.
  virtual bool DialogKey(MSG& msg);

  // The form's menu bar, or none; the menu is not owned through this.
  TMainMenu* Menu() const { return FMenu; }
  void SetMenu(TMainMenu* menu);
  // Opened by a right click (WM_CONTEXTMENU) on the form, or none.
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* menu);

  TNotifyEvent OnCreate, OnShow, OnHide, OnDestroy, OnActivate;
  TCloseEvent OnClose;
  // Draws on Canvas() over the form's background, under its controls.
  TNotifyEvent OnPaint;
  // The canvas OnPaint draws on, bound to the DC being painted while the
  // handler runs.
  TCanvas& Canvas() { return *FCanvas; }
  // Runs OnPaint on dc, whose origin is the client's top-left corner
  // (nothing without a handler). A skinned frame uses it to draw the
  // handler's picture into its client background.
  void PaintHandlerInto(HDC dc);

  // The published fields and methods a stored layout binds by name.
  template <typename T>
  void PublishField(const std::string& name, T*& field) {
    FFields[name] = [&field](TComponent* c) {
      T* typed = dynamic_cast<T*>(c);
      if (!typed) return false;
      field = typed;
      return true;
    };
  }
  void PublishMethod(const std::string& name, TNotifyEvent method) { FMethods[name] = std::move(method); }
  // A method for events of another type; a layout may bind it only to an
  // event of that type.
  template <typename Signature>
  void PublishMethod(const std::string& name, std::function<Signature> method) {
    FMethods[name] = std::move(method);
  }
  bool BindField(const std::string& name, TComponent* component);
  // The published method of that name, of whatever event type, or none.
  const std::any* PublishedMethod(const std::string& name) const;
  // The published notify method of that name, or none.
  const TNotifyEvent* FindMethod(const std::string& name) const;

  // Reads the form's stored layout, the resource named after its class.
  void LoadLayout();
  void LoadLayoutText(const std::string& text);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& m) override;
  void PaintWindow(HDC dc) override;
  void Notification(TComponent* component, bool removing) override;
  virtual bool CloseQuery() { return true; }

 private:
  // The window styles the border style and icons give (never WS_VISIBLE).
  void FrameStyles(DWORD& style, DWORD& exStyle) const;
  // What the frame adds to the client area.
  SIZE FrameSize() const;
  void ApplyPosition();
  void FocusFirst();
  // The menu bar's platform menu on the window (or none).
  void PutMenuBar();
  // WM_COMMAND, WM_MEASUREITEM, WM_DRAWITEM and WM_CONTEXTMENU of menus.
  bool MenuMessage(TMessage& m);

  TFormBorderStyle FBorderStyle = bsSizeable;
  TBorderIcons FBorderIcons = biSystemMenu | biMinimize | biMaximize;
  TPosition FPosition = poDesigned;
  TFormStyle FFormStyle = fsNormal;
  bool FKeyPreview = false;
  TModalResult FModalResult = mrNone;
  bool FModal = false;
  bool FPendingClientSize = false;
  int FClientWidth = 0, FClientHeight = 0;
  TWinControl* FActiveControl = nullptr;
  TMainMenu* FMenu = nullptr;
  TPopupMenu* FPopupMenu = nullptr;
  std::unique_ptr<TCanvas> FCanvas;
  std::map<std::string, std::function<bool(TComponent*)>> FFields;
  std::map<std::string, std::any> FMethods;
};

class TForm : public TCustomForm {
 public:
  using TCustomForm::TCustomForm;
  const char* ClassName() const override { return "TForm"; }
};

}  // namespace fw
