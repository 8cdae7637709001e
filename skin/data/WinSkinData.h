// TSkinData: one loaded skin, parsed from the archive's INI description, and
// the element records the frame and the skinned controls draw from. As a
// component on a form it loads its stored archive ("SkinStream") while the
// form is read and, once the form is loaded, registers with the skin manager.
#pragma once

#include <bitset>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Classes.h"
#include "Controls.h"
#include "Graphics.h"
#include "Streams.h"

namespace skin {
class TSkinIni;
class TSkinReader;
}  // namespace skin

class TDataSkinObject {
 public:
  explicit TDataSkinObject(std::string name) : Name(std::move(name)) {}
  virtual ~TDataSkinObject() = default;
  TDataSkinObject(const TDataSkinObject&) = delete;
  TDataSkinObject& operator=(const TDataSkinObject&) = delete;

  int32_t LeftWidth = 0, TopHeight = 0, RightWidth = 0, BottomHeight = 0;
  TBitmap Image;  // FrameCount frames side by side (stacked for Top and Bottom)
  int32_t Trans = 0;
  int32_t Tile = 0;
  std::string Name;
  int32_t FrameCount = 1;  // never below 1
  int32_t Style = 0;
  TColor NormalColour2 = 0, MouseOverColour2 = 0, PressedColour2 = 0;
};

class TDataSkinBorder : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  TBitmap Image2;
};

class TDataSkinButton : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  TBitmap CheckButton, RadioButton;
  int32_t RadioButtonFrame = 0, CheckButtonFrame = 0;
  bool HasNormalColour2 = false, HasMouseOverColour2 = false, HasPressedColour2 = false;
};

class TDataSkinTitle : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  int32_t TextAlignment = 0, Textbackground = 0, FontHeight = 14, TXTBackleft = 0, TXTBackRight = 0;
  TColor ActiveText = clNone, InActiveText = clNone;  // clNone: the skin gives none
};

class TDataSkinSysButton : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  int32_t Action = 0, Align = 0, Xcoord = 0, Ycoord = 0, CombineOp = -1, Visibility = 0, Visibility1 = 0;
};

class TDataSkinBoxLabel : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  int32_t BackgroundLeftShift = 0, BackgroundRightShift = 0, BackgroundAlignment = 0;
};

// The [Colours] section, by its key names.
struct TSkinColours {
  TColor WindowText = clSystemColor | COLOR_WINDOWTEXT;
  TColor TitleTextActive = clSystemColor | COLOR_CAPTIONTEXT;
  TColor TitleTextNoActive = clSystemColor | COLOR_INACTIVECAPTIONTEXT;
  TColor ButtonFace = clSystemColor | COLOR_BTNFACE;
  TColor ButtonText = clSystemColor | COLOR_BTNTEXT;
  TColor ButtonHilight = clSystemColor | COLOR_BTNHIGHLIGHT;
  TColor Buttonlight = clSystemColor | COLOR_BTNHIGHLIGHT;
  TColor ButtonShadow = clSystemColor | COLOR_BTNSHADOW;
  TColor ButtonDkShadow = clSystemColor | COLOR_3DDKSHADOW;
  TColor HilightText = clSystemColor | COLOR_HIGHLIGHTTEXT;
  TColor Hilight = clSystemColor | COLOR_HIGHLIGHT;
  TColor Menubar = clSystemColor | COLOR_BTNFACE;
  TColor MenuBarText = clSystemColor | COLOR_MENUTEXT;
  TColor MenuText = clSystemColor | COLOR_MENUTEXT;
  TColor Menu = clSystemColor | COLOR_MENU;
  TColor Scrollbar = clSystemColor | COLOR_SCROLLBAR;
};

// "84 52 29", "84,52,29" and "84;52;29;" are red 84, green 52, blue 29.
TColor ParseSkinColour(const std::string& text);

// Which windows a skin data serves (see SkinFormtype).
enum TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog };

// What is skinned; bit n of TSkinControlTypes is member n.
enum TSkinControlType {
  xcMainMenu, xcPopupMenu, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton, xcProgress, xcScrollbar,
  xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcPanel, xcGroupBox, xcStatusBar, xcTab, xcSystemMenu, xcFastReport
};
using TSkinControlTypes = std::bitset<19>;

class TSkinData;
using TOnFormSkin = std::function<void(TObject* Sender, const std::string& aName, bool& DoSkin)>;
using TOnSkinControl = std::function<void(TObject* Sender, TSkinData* SkinData, TControl* Form, TControl* Control,
                                          const std::string& ControlClass, TComponent*& SkinnedControl)>;

class TSkinData : public TComponent {
  UI_CLASS(TSkinData)
 public:
  explicit TSkinData(TComponent* owner);
  ~TSkinData() override;

  // Stored properties, in the order a form stores them.
  bool Active() const { return active_; }
  void SetActive(bool value);
  int32_t DisableTag = 99;  // a component whose Tag mod 100 equals it stays unskinned
  TSkinControlTypes SkinControls;
  TStringList Skin3rd;  // "class=kind" lines for other libraries' controls
  const std::string& SkinFile() const { return skinFile_; }
  void SetSkinFile(const std::string& name);
  static std::string SkinStore() { return "(none)"; }
  TSkinFormType SkinFormtype = sfMainform;
  static std::string Version() { return "2.65.6.22"; }
  bool MenuUpdate = true;
  TOnFormSkin OnFormSkin;
  TNotifyEvent OnSkinChanged;
  TOnSkinControl OnSkinControl;

  bool SetProp(const std::string& name, const TValue& v) override;
  std::optional<std::string> GetProp(const std::string& name) const override;
  // "SkinStream": a 32-bit signed length, then that many bytes of archive.
  bool ReadBinaryProperty(const std::string& name, TMemoryStream& data) override;
  void ReadSkinStream(TStream& stream);
  void WriteSkinStream(TStream& stream);

  // Registers with the skin manager; a form-bound kind has its form taken over.
  void Loaded() override;
  // Loads the archive held in SkinStream; false when it was refused or its
  // description could not be read (NoSkin then stays True). Throws
  // ElzhException when the decoder's tables cannot be had.
  bool LoadFromStore();
  // Has every skinned window pick up a newly loaded skin (deferred).
  void SkinChanged();
  void DoSkinChanged();
  // The per-window filter the manager asks (OnFormSkin decides alone when set).
  void CheckFormSkin(const std::string& className, bool& DoSkin);

  TMemoryStream SkinStream;  // the archive as stored or read from SkinFile
  TBitmap SkinIcon;          // this skin data's own icon for the frames' icon buttons
  bool FramePainting = true;
  TImageList MenuGlyphs{16, 16};  // the system menu's glyphs: restore, maximize, minimize, close

  // The archive the description's images come from; the load that opened it
  // sets it for the parse and clears it afterwards.
  void SetSkinReader(const skin::TSkinReader* reader) { reader_ = reader; }
  // The whole parse of a description held in memory. Images come from the
  // reader set above (none without one). An unreadable image throws the
  // bitmap's Exception and leaves NoSkin True.
  void ReadSkinIni(std::string_view description);
  // The entry named by the value's file name, when it ends in ".bmp";
  // otherwise, or when the archive has no such entry, an empty bitmap.
  void LoadSkinBitmap(TBitmap& bitmap, const std::string& value);
  static TColor ReadColour(const std::string& text, TColor def);

  // The element record of a section name ("Tabs", "Trackbar.ThumbHorz",
  // "MenuBar" for the menu bar); null when the skin has none.
  TDataSkinObject* Element(const std::string& section) const;

  bool NoSkin = true;
  std::string SkinName;
  TSkinColours Colours;
  std::unique_ptr<TDataSkinTitle> Title;
  std::vector<std::unique_ptr<TDataSkinSysButton>> TitleButtons;
  std::unique_ptr<TDataSkinButton> Buttons;
  std::unique_ptr<TDataSkinBorder> Left, Right, Top, Bottom;
  HBRUSH ButtonFaceBrush() const { return static_cast<HBRUSH>(buttonFaceBrush_.get()); }
  // Makes ButtonFaceBrush from Colours (the parse does; a skin filled in code calls it).
  void UpdateButtonFaceBrush();

  // Element records, one per section, or none.
  std::unique_ptr<TDataSkinBorder> Progress;
  std::unique_ptr<TDataSkinObject> MenuBar;
  std::unique_ptr<TDataSkinObject> GroupBoxEdge;
  std::unique_ptr<TDataSkinBoxLabel> GroupBox;
  std::unique_ptr<TDataSkinObject> Toolbars;
  std::unique_ptr<TDataSkinBorder> Tabs;
  std::unique_ptr<TDataSkinObject> StatusBarEdges;
  std::unique_ptr<TDataSkinBorder> ComboButton;
  std::unique_ptr<TDataSkinObject> SunkEdge, ExtraImages, Headerbar, MenuItem, MenuBackground;
  std::unique_ptr<TDataSkinObject> Scrollbar, HorzScroll, VertScroll, HorzScrollThumb, VertScrollThumb;
  std::unique_ptr<TDataSkinObject> TrackbarThumbHorz, TrackbarThumbVert, TrackbarThumbLeft, TrackbarThumbRight,
      TrackbarThumbUp, TrackbarThumbDown;
  std::unique_ptr<TDataSkinBorder> UpDownHorz, UpDownVert;

 private:
  void ReadBorders(const skin::TSkinIni& ini);
  void ReadColours(const skin::TSkinIni& ini);
  void ReadTitleButtons(const skin::TSkinIni& ini);
  void ReadMdiButtons(const skin::TSkinIni& ini);
  void ReadButtons(const skin::TSkinIni& ini);
  void ReadTitle(const skin::TSkinIni& ini);
  void ReadElements(const skin::TSkinIni& ini);
  void ReadElementKeys(const skin::TSkinIni& ini, TDataSkinObject& e, bool style);
  template <class T>
  std::unique_ptr<T> ReadElement(const skin::TSkinIni& ini, const std::string& section, bool style);
  std::unique_ptr<TDataSkinBorder> ReadPair(const skin::TSkinIni& ini, const std::string& section,
                                            const std::string& secondImage);
  void SetFrameCounts(const skin::TSkinIni& ini);

  const skin::TSkinReader* reader_ = nullptr;
  ui::GdiObject buttonFaceBrush_;
  bool active_ = false;
  std::string skinFile_;
};

// Text for the frame and the controls: DrawTextW on the NT family, else the
// ANSI text with DrawTextA. The rectangle is the caller's copy; measuring
// flags never report back.
int SkinDrawText(HDC dc, const std::wstring& text, RECT rect, UINT format);
