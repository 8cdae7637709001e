// Common controls: track bar, progress bar, up-down, status bar, pages, tab set, list view.
#pragma once
#include "ExtCtrls.h"

class TTrackBar : public TWinControl {
  UI_CLASS(TTrackBar)
 public:
  explicit TTrackBar(TComponent* owner);
  int Min() const { return min_; }
  int Max() const { return max_; }
  void SetRange(int min, int max);
  int Position() const { return position_; }
  void SetPosition(int p);  // clamped to Min..Max; OnChange on every change
  enum { trHorizontal, trVertical } Orientation = trHorizontal;
  enum { tsNone, tsAuto } TickStyle = tsAuto;
  TNotifyEvent OnChange;
  bool SetProp(const std::string& name, const TValue& v) override;

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandle() override;
  void WndProc(TMessage& m) override;

 private:
  int min_ = 0, max_ = 10, position_ = 0;
};

class TProgressBar : public TWinControl {
  UI_CLASS(TProgressBar)
 public:
  explicit TProgressBar(TComponent* owner);
  int Min = 0, Max = 100;
  int Position() const { return position_; }
  void SetPosition(int p);
  bool SetProp(const std::string& name, const TValue& v) override;

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandle() override;

 private:
  int position_ = 0;
};

class TUpDown : public TWinControl {
  UI_CLASS(TUpDown)
 public:
  explicit TUpDown(TComponent* owner);
  int Min = 0, Max = 100;
  int Position() const;
  void SetPosition(int p);
  TNotifyEvent OnChange;
  bool SetProp(const std::string& name, const TValue& v) override;

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandle() override;
  void WndProc(TMessage& m) override;

 private:
  int position_ = 0;
};

struct TStatusPanel {
  std::string Text;
  int Width = 50;
  TAlignment Alignment = taLeftJustify;
  enum { pbNone, pbLowered, pbRaised } Bevel = pbLowered;
  bool RightToLeft = false;  // read right to left; left and right alignment swap
};

class TStatusBar : public TWinControl {
  UI_CLASS(TStatusBar)
 public:
  explicit TStatusBar(TComponent* owner);
  std::vector<TStatusPanel> Panels;
  void SetPanelText(int i, const std::string& text);
  void UpdatePanels();  // after changing Panels
  bool SimplePanel = false;
  std::string SimpleText;
  bool SizeGrip() const { return sizeGrip_; }
  void SetSizeGrip(bool v);  // makes the window again, only on a change
  bool SetProp(const std::string& name, const TValue& v) override;

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandle() override;

 private:
  bool sizeGrip_ = true;
};

class TPageControl;

class TTabSheet : public TCustomControl {
  UI_CLASS(TTabSheet)
 public:
  explicit TTabSheet(TComponent* owner);
  TPageControl* PageControl() const;
  bool TabVisible() const { return tabVisible_; }
  void SetTabVisible(bool v);
  TNotifyEvent OnShow;
  bool SetProp(const std::string& name, const TValue& v) override;

 protected:
  void TextChanged() override;  // the caption is the tab's text
  void ShowingChanged() override;

 private:
  bool tabVisible_ = true;
};

// A real SysTabControl32 whose pages are child panels.
class TPageControl : public TWinControl {
  UI_CLASS(TPageControl)
 public:
  explicit TPageControl(TComponent* owner);
  int PageCount() const { return static_cast<int>(Sheets().size()); }
  TTabSheet* Pages(int i) const { return Sheets().at(i); }
  TTabSheet* ActivePage() const { return active_; }
  void SetActivePage(TTabSheet* page);
  int TabWidth = 0, TabHeight = 0;
  bool FlatButtons = false;  // Style tsFlatButtons
  TNotifyEvent OnChange;
  bool SetProp(const std::string& name, const TValue& v) override;
  void Loaded() override;
  void UpdateTabs();

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandle() override;
  void WndProc(TMessage& m) override;
  void BoundsChanged() override { PlacePages(); }

 private:
  friend class TTabSheet;
  void PlacePages();
  std::vector<TTabSheet*> Sheets() const;  // the child pages in order
  std::vector<TTabSheet*> pages_;
  TTabSheet* active_ = nullptr;
  std::string pendingActive_;
};

// One row of tabs below the client. From FirstIndex on, each tab is as wide
// as its caption plus 9 and follows the last one shown, from StartMargin; a
// tab that would reach past Width - EndMargin is left out, and later ones that
// fit still show. Invalidate after changing the margins or FirstIndex.
class TTabSet : public TCustomControl {
  UI_CLASS(TTabSet)
 public:
  explicit TTabSet(TComponent* owner);
  TStringList Tabs;
  int StartMargin = 5, EndMargin = 5, FirstIndex = 0;
  int TabIndex() const { return tabIndex_; }
  void SetTabIndex(int i);
  TNotifyEvent OnChange;
  bool SetProp(const std::string& name, const TValue& v) override;

 protected:
  void Paint() override;
  void WndProc(TMessage& m) override;

 private:
  struct TShownTab {
    int Index;
    RECT Rect;
  };
  // The tabs shown, measured in the canvas's font.
  std::vector<TShownTab> ShownTabs(TCanvas& canvas);
  int TabAt(int x);
  int tabIndex_ = -1;
};

class TListView : public TWinControl {
  UI_CLASS(TListView)
 public:
  explicit TListView(TComponent* owner);
  struct TColumn { std::string Caption; int Width = 50; };
  std::vector<TColumn> Columns;
  int AddItem(const std::string& caption, const std::vector<std::string>& subItems = {});
  int ItemCount() const;
  std::string ItemText(int item, int column) const;
  bool SetProp(const std::string& name, const TValue& v) override;

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandle() override;
};
