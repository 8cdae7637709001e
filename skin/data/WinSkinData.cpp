#include "WinSkinData.h"

#include <algorithm>
#include <cstring>

#include "Forms.h"
#include "ImgUtil.h"
#include "SkinIni.h"
#include "SkinManage.h"
#include "SkinRead.h"

using skin::TSkinIni;

namespace {
std::string UpperCase(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

// The drawing divides by frame counts: whatever the description says, at least 1.
int32_t AtLeastOne(int32_t frames) { return std::max<int32_t>(frames, 1); }

// Columns x0..x0+w of `strip` into `dest`, same height and pixel format.
void CopyColumns(TBitmap& strip, int x0, int w, TBitmap& dest) {
  const int bpp = strip.PixelFormat() / 8;
  dest.SetSize(w, strip.Height(), strip.PixelFormat());
  if (w == 0) return;
  GdiFlush();
  for (int y = 0; y < strip.Height(); ++y)
    std::memcpy(dest.ScanLine(y), strip.ScanLine(y) + size_t(x0) * bpp, size_t(w) * bpp);
}
}  // namespace

TColor ParseSkinColour(const std::string& text) {
  if (text.empty()) return 0;
  size_t first = 0, last = text.size();
  while (first < last && static_cast<unsigned char>(text[first]) <= ' ') ++first;
  while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ') --last;
  int components[3] = {0, 0, 0};
  int stored = 0;
  unsigned number = 0;  // only the low 8 bits count
  bool collecting = false;
  for (size_t k = first; k < last; ++k) {
    const char c = text[k];
    if (c >= '0' && c <= '9') {
      number = (number * 10 + unsigned(c - '0')) & 0xFF;
      collecting = true;
    } else if (collecting) {
      if (stored < 3) components[stored++] = int(number);
      number = 0;
      collecting = false;
    }
  }
  if (stored == 2 && collecting) components[2] = int(number);
  return components[0] + components[1] * 256 + components[2] * 65536;
}

namespace {
// Other libraries' control classes and the skin kind each is drawn as; a class
// is looked up by its first line.
const char* const DefaultSkin3rd[] = {
    "TTBDock=Panel", "TTBToolbar=Panel", "TImageEnMView=scrollbar", "TImageEnView=scrollbar", "TRzButton=button",
    "TRzCheckGroup=CheckGroup", "TRzRadioGroup=Radiogroup", "TRzRadioButton=Radiobutton", "TRzCheckBox=Checkbox",
    "TRzButtonEdit=Edit", "TRzDBRadioGroup=Radiogroup", "TRzDBRadioButton=Radiobutton", "TRzDBCheckBox=Checkbox",
    "TDBCheckboxEh=Checkbox", "TDBCheckboxEh=Checkbox", "TLMDCHECKBOX=Checkbox", "TLMDDBCHECKBOX=Checkbox",
    "TLMDRadiobutton=Radiobutton", "TLMDGROUPBOX=Panel", "TLMDSIMPLEPANEL=Panel", "TLMDDBCalendar=Panel",
    "TLMDButtonPanel=Panel", "TLMDLMDCalculator=Panel", "TLMDHeaderPanel=Panel", "TLMDTechnicalLine=Panel",
    "TLMDLMDClock=Panel", "TLMDTrackbar=trackbar", "TLMDListCombobox=combobox", "TLMDCheckListCombobox=combobox",
    "TLMDHeaderListCombobox=combobox", "TLMDImageCombobox=combobox", "TLMDColorCombobox=combobox",
    "TLMDFontCombobox=combobox", "TLMDFontSizeCombobox=combobox", "TLMDFontSizeCombobox=combobox",
    "TLMDPrinterCombobox=combobox", "TLMDDriveCombobox=combobox", "TLMDCalculatorComboBox=combobox",
    "TLMDTrackBarComboBox=combobox", "TLMDCalendarComboBox=combobox", "TLMDRADIOGROUP=radiogroup",
    "TLMDCheckGroup=CheckGroup", "TLMDDBRADIOGROUP=radiogroup", "TLMDDBCheckGroup=CheckGroup", "TLMDEDIT=Edit",
    "TLMDMASKEDIT=Edit", "TLMDBROWSEEDIT=Edit", "TLMDEXTSPINEDIT=Edit", "TLMDCALENDAREDIT=Edit",
    "TLMDFILEOPENEDIT=Edit", "TLMDFILESAVEEDIT=Edit", "TLMDCOLOREDIT=Edit", "TLMDDBEDIT=Edit", "TLMDDBMASKEDIT=Edit",
    "TLMDDBEXTSPINEDIT=Edit", "TLMDDBSPINEDIT=Edit", "TLMDDBEDITDBLookup=Edit", "TLMDEDITDBLookup=Edit",
    "TDBLookupCombobox=Combobox", "TWWDBCombobox=Combobox", "TWWDBLookupCombo=Combobox", "TWWDBCombobox=Combobox",
    "TWWKeyCombo=Combobox", "TWWTempKeyCombo=combobox", "TWWDBDateTimePicker=Combobox", "TWWRADIOGROUP=radiogroup",
    "TWWDBEDIT=Edit", "TcxDBCheckBox=checkbox", "TcxDBRadioGroup=radiogroup", "TcxRadioGroup=radiogroup",
    "TcxCheckBox=checkbox", "TOVCPICTUREFIELD=Edit", "TOVCDBPICTUREFIELD=Edit", "TOVCSLIDEREDIT=Edit",
    "TOVCDBSLIDEREDIT=Edit", "TOVCSIMPLEFIELD=Edit", "TOVCDBSIMPLEFIELD=Edit", "TO32DBFLEXEDIT=Edit",
    "TOVCNUMERICFIELD=Edit", "TOVCDBNUMERICFIELD=Edit"};

const char* const SkinControlNames[] = {
    "xcMainMenu", "xcPopupMenu", "xcToolbar", "xcControlbar", "xcCombo", "xcCheckBox", "xcRadioButton",
    "xcProgress", "xcScrollbar", "xcEdit", "xcButton", "xcBitBtn", "xcSpeedButton", "xcPanel", "xcGroupBox",
    "xcStatusBar", "xcTab", "xcSystemMenu", "xcFastReport"};
const char* const SkinFormTypeNames[] = {"sfMainform", "sfOnlyThisForm", "sfDialog"};

// Decided once: the wide text call exists on the NT family only.
const bool PlatformIsNT = GetVersion() < 0x80000000u;
}  // namespace

TSkinData::TSkinData(TComponent* owner)
    : TComponent(owner),
      Title(std::make_unique<TDataSkinTitle>("Title")),
      Buttons(std::make_unique<TDataSkinButton>("Buttons")),
      Left(std::make_unique<TDataSkinBorder>("Left")),
      Right(std::make_unique<TDataSkinBorder>("Right")),
      Top(std::make_unique<TDataSkinBorder>("Top")),
      Bottom(std::make_unique<TDataSkinBorder>("Bottom")) {
  SkinControls.set().reset(xcFastReport);
  Skin3rd.Assign(std::vector<std::string>(std::begin(DefaultSkin3rd), std::end(DefaultSkin3rd)));
  MenuGlyphs.AddResource(GetModuleHandleA(nullptr), "MARSOLYMENU", clWhite);
}

TSkinData::~TSkinData() {
  if (SkinManage) SkinManage->RemoveSkinData(this);
}

void TSkinData::SetActive(bool value) {
  if (value == active_) return;
  active_ = value;
  if (ComponentState() & csLoading) return;
  if (SkinFormtype == sfDialog || !SkinManage) return;
  if (SkinFormtype == sfOnlyThisForm) SkinManage->PendingSkinData = this;
  if (value && NoSkin) return;
  SkinManage->ScheduleAction(value ? saActivate : saDeactivate, 250);
  SkinManage->PendingSkinData = this;
}

void TSkinData::SetSkinFile(const std::string& name) {
  NoSkin = true;
  skinFile_ = name;
  const DWORD attributes = name.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(name.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
  SkinStream.Clear();
  SkinStream.LoadFromFile(name);
  LoadFromStore();
  SkinChanged();
}

bool TSkinData::SetProp(const std::string& name, const TValue& v) {
  if (name == "Active") SetActive(v.AsBool());
  else if (name == "DisableTag") DisableTag = v.AsInt();
  else if (name == "SkinControls") {
    SkinControls.reset();
    for (const std::string& member : v.items) {
      const auto at = std::find(std::begin(SkinControlNames), std::end(SkinControlNames), member);
      if (at == std::end(SkinControlNames)) throw Exception("Invalid SkinControls member " + member);
      SkinControls.set(size_t(at - std::begin(SkinControlNames)));
    }
  } else if (name == "Skin3rd" || name == "Skin3rd.Strings") Skin3rd.Assign(v.items);
  else if (name == "SkinFile") SetSkinFile(v.AsText());
  else if (name == "SkinStore" || name == "Version") {}  // they keep their own values
  else if (name == "SkinFormtype") {
    const std::string kind = v.AsString();
    const auto at = std::find(std::begin(SkinFormTypeNames), std::end(SkinFormTypeNames), kind);
    if (at == std::end(SkinFormTypeNames)) throw Exception("Invalid SkinFormtype " + kind);
    SkinFormtype = TSkinFormType(at - std::begin(SkinFormTypeNames));
  } else if (name == "MenuUpdate") MenuUpdate = v.AsBool();
  else if (name == "OnFormSkin") SetEvent(OnFormSkin, name, v);
  else if (name == "OnSkinChanged") SetEvent(OnSkinChanged, name, v);
  else if (name == "OnSkinControl") SetEvent(OnSkinControl, name, v);
  else return TComponent::SetProp(name, v);
  return true;
}

std::optional<std::string> TSkinData::GetProp(const std::string& name) const {
  if (name == "Active") return active_ ? "True" : "False";
  if (name == "DisableTag") return std::to_string(DisableTag);
  if (name == "SkinFile") return skinFile_;
  if (name == "SkinStore") return SkinStore();
  if (name == "SkinFormtype") return SkinFormTypeNames[SkinFormtype];
  if (name == "Version") return Version();
  if (name == "MenuUpdate") return MenuUpdate ? "True" : "False";
  return TComponent::GetProp(name);
}

bool TSkinData::ReadBinaryProperty(const std::string& name, TMemoryStream& data) {
  if (name != "SkinStream") return false;
  ReadSkinStream(data);
  return true;
}

void TSkinData::ReadSkinStream(TStream& stream) {
  int32_t n = 0;
  if (stream.Read(&n, sizeof n) != sizeof n || n <= 0) return;
  // A length beyond the stored bytes is a damaged property: nothing is read.
  if (stream.Size() - stream.Position() < n) return;
  SkinStream.Clear();
  SkinStream.CopyFrom(stream, n);
  LoadFromStore();
}

void TSkinData::WriteSkinStream(TStream& stream) {
  const std::vector<uint8_t>& bytes = SkinStream.Bytes();
  const int32_t n = static_cast<int32_t>(bytes.size());
  stream.WriteBuffer(&n, sizeof n);
  if (n > 0) stream.WriteBuffer(bytes.data(), bytes.size());
}

bool TSkinData::LoadFromStore() {
  NoSkin = true;
  skin::TSkinReader reader;
  if (!reader.LoadFromStream(std::span<const uint8_t>(SkinStream.Bytes()))) return false;
  // The description is parsed where it lies: never through a file named
  // after an archive entry.
  std::vector<uint8_t> description;
  std::string found;
  reader.FindEntry(".ini", description, found);
  if (found.empty()) return false;
  SetSkinReader(&reader);
  try {
    ReadSkinIni(std::string_view(reinterpret_cast<const char*>(description.data()), description.size()));
  } catch (const std::exception&) {
    // A damaged image: the skin stays unusable, the program goes on.
  }
  SetSkinReader(nullptr);
  return !NoSkin;
}

void TSkinData::Loaded() {
  if (!SkinManage) SkinManage = new TSkinManage();
  SkinManage->AddSkinData(this);
  if (SkinFormtype == sfMainform) {
    SkinManage->StartHook();
    if (active_) {
      if (NoSkin) active_ = false;
      else SkinManage->ScheduleAction(saActivate, 250);
    }
    return;
  }
  SkinManage->Active = true;
  ++SkinManage->StartCount;
  if (auto* form = dynamic_cast<TCustomForm*>(Owner())) SkinManage->AddWindow(form->Handle());
}

void TSkinData::SkinChanged() {
  if (ComponentState() & csLoading) return;
  if (!SkinManage) Loaded();
  SkinManage->PendingSkinData = this;
  SkinManage->FreeAllSysButtons();
  SkinManage->ScheduleAction(saReload, 250);
}

void TSkinData::DoSkinChanged() {
  if (OnSkinChanged) OnSkinChanged(this);
}

void TSkinData::CheckFormSkin(const std::string& className, bool& DoSkin) {
  if (OnFormSkin) {
    OnFormSkin(this, className, DoSkin);
    return;
  }
  if (className == "SysMonthCal32" || (SkinControls[xcFastReport] && className.rfind("Tfr", 0) == 0)) DoSkin = false;
}

int SkinDrawText(HDC dc, const std::wstring& text, RECT rect, UINT format) {
  if (PlatformIsNT) return DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
  const int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string ansi(size_t(std::max(n, 0)), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), ansi.data(), n, nullptr, nullptr);
  return DrawTextA(dc, ansi.c_str(), -1, &rect, format);
}

TColor TSkinData::ReadColour(const std::string& text, TColor def) { return text.empty() ? def : ParseSkinColour(text); }

void TSkinData::LoadSkinBitmap(TBitmap& bitmap, const std::string& value) {
  bitmap.SetSize(0, 0, pf24bit);
  const size_t sep = value.find_last_of("\\:");
  const std::string name = sep == std::string::npos ? value : value.substr(sep + 1);
  const size_t dot = name.rfind('.');
  if (name.empty() || dot == std::string::npos || name.compare(dot, std::string::npos, ".bmp") != 0) return;
  if (!reader_) return;
  std::vector<uint8_t> entry;
  reader_->ReadEntry(name, entry);
  if (entry.empty()) return;
  bitmap.LoadFromMemory(entry);  // any Windows bitmap file; a damaged one throws
}

TDataSkinObject* TSkinData::Element(const std::string& section) const {
  const std::pair<const char*, TDataSkinObject*> table[] = {
      {"Progress", Progress.get()},
      {"MenuBar", MenuBar.get()},
      {"GroupBoxEdge", GroupBoxEdge.get()},
      {"GroupBox", GroupBox.get()},
      {"Toolbars", Toolbars.get()},
      {"Tabs", Tabs.get()},
      {"StatusBarEdges", StatusBarEdges.get()},
      {"ComboButton", ComboButton.get()},
      {"SunkEdge", SunkEdge.get()},
      {"ExtraImages", ExtraImages.get()},
      {"Headerbar", Headerbar.get()},
      {"MenuItem", MenuItem.get()},
      {"MenuBackground", MenuBackground.get()},
      {"Scrollbar", Scrollbar.get()},
      {"HorzScroll", HorzScroll.get()},
      {"VertScroll", VertScroll.get()},
      {"HorzScrollThumb", HorzScrollThumb.get()},
      {"VertScrollThumb", VertScrollThumb.get()},
      {"Trackbar.ThumbHorz", TrackbarThumbHorz.get()},
      {"Trackbar.ThumbVert", TrackbarThumbVert.get()},
      {"Trackbar.ThumbLeft", TrackbarThumbLeft.get()},
      {"Trackbar.ThumbRight", TrackbarThumbRight.get()},
      {"Trackbar.ThumbUp", TrackbarThumbUp.get()},
      {"Trackbar.ThumbDown", TrackbarThumbDown.get()},
      {"UpDown.Horz", UpDownHorz.get()},
      {"UpDown.Vert", UpDownVert.get()},
  };
  const std::string wanted = UpperCase(section);
  for (const auto& [name, record] : table)
    if (UpperCase(name) == wanted) return record;
  return nullptr;
}

void TSkinData::ReadSkinIni(std::string_view description) {
  NoSkin = true;
  const TSkinIni ini(description);
  SkinName = ini.ReadString("TitlebarSkin", "SkinName");
  ReadBorders(ini);
  ReadColours(ini);  // before the rest: element colours default to ButtonText
  ReadTitleButtons(ini);
  ReadMdiButtons(ini);
  ReadButtons(ini);
  ReadTitle(ini);
  ReadElements(ini);
  SetFrameCounts(ini);
  UpdateButtonFaceBrush();
  NoSkin = false;
}

void TSkinData::UpdateButtonFaceBrush() { buttonFaceBrush_.reset(CreateSolidBrush(ui::ColorToRGB(Colours.ButtonFace))); }

void TSkinData::ReadBorders(const TSkinIni& ini) {
  for (TDataSkinBorder* b : {Left.get(), Right.get(), Top.get(), Bottom.get()}) {
    const std::string& n = b->Name;
    const int32_t first = ini.ReadInteger("Personality", n + "TopHeight", 0);
    const int32_t second = ini.ReadInteger("Personality", n + "BotHeight", 0);
    const bool side = b == Left.get() || b == Right.get();
    // Side borders run downwards: their margins are heights; top and bottom run across.
    b->TopHeight = side ? first : 0;
    b->BottomHeight = side ? second : 0;
    b->LeftWidth = side ? 0 : first;
    b->RightWidth = side ? 0 : second;
    b->FrameCount = AtLeastOne(ini.ReadInteger("Personality", n + "Frame", 1));
    b->Tile = ini.ReadInteger("Personality", n + "Stretch", 1);
    b->Trans = ini.ReadInteger("Personality", n + "Trans", 1);
    LoadSkinBitmap(b->Image, ini.ReadString("Personality", n));
  }
}

void TSkinData::ReadColours(const TSkinIni& ini) {
  const TSkinColours defaults;
  auto read = [&](const char* key, TColor def) { return ReadColour(ini.ReadString("Colours", key), def); };
  TSkinColours& c = Colours;
  c.WindowText = read("WindowText", defaults.WindowText);
  c.ButtonFace = read("ButtonFace", defaults.ButtonFace);
  c.Scrollbar = read("Scrollbar", defaults.Scrollbar);
  c.HilightText = read("HilightText", defaults.HilightText);
  c.Hilight = read("Hilight", defaults.Hilight);
  c.Menubar = read("Menubar", c.ButtonFace);
  c.Menu = read("Menu", defaults.Menu);
  c.MenuText = read("MenuText", defaults.MenuText);
  c.ButtonText = read("ButtonText", defaults.ButtonText);
  c.ButtonHilight = read("ButtonHilight", defaults.ButtonHilight);
  c.Buttonlight = read("Buttonlight", defaults.Buttonlight);
  c.ButtonShadow = read("ButtonShadow", defaults.ButtonShadow);
  c.ButtonDkShadow = read("ButtonDkShadow", defaults.ButtonDkShadow);
  c.MenuBarText = read("MenuBarText", defaults.MenuBarText);
  c.TitleTextActive = read("TitleTextActive", defaults.TitleTextActive);
  c.TitleTextNoActive = read("TitleTextNoActive", defaults.TitleTextNoActive);
}

void TSkinData::ReadTitleButtons(const TSkinIni& ini) {
  TitleButtons.clear();
  for (const std::string& section : ini.Sections()) {
    const std::string upper = UpperCase(section);
    if (upper.rfind("BUTTON", 0) != 0 || upper == "BUTTON" || upper == "BUTTONS" || upper == "BUTTON.RADIO" ||
        upper == "BUTTON.CHECKBOX")
      continue;
    if (ini.ReadInteger(section, "Action", 0) == -1 && ini.ReadInteger(section, "Visibility", -1) != 0) continue;
    auto b = std::make_unique<TDataSkinSysButton>(upper);
    b->Action = ini.ReadInteger(section, "Action", 0);
    b->Align = ini.ReadInteger(section, "Align", 0);
    b->Xcoord = ini.ReadInteger(section, "Xcoord", 0);
    b->Ycoord = ini.ReadInteger(section, "Ycoord", 0);
    b->Visibility = ini.ReadInteger(section, "Visibility", 0);
    b->Visibility1 = ini.ReadInteger(section, "Visibility1", b->Action == -1 ? -1 : 0);
    b->CombineOp = ini.ReadInteger(section, "CombineOp", -1);
    b->FrameCount = ini.ReadInteger(section, "frame", 0);
    LoadSkinBitmap(b->Image, ini.ReadString(section, "ButtonImage"));
    if (b->FrameCount == 0) {
      b->FrameCount = 6;
      if (!b->Image.Empty())
        b->FrameCount = double(b->Image.Width()) / double(b->Image.Height()) <= 3.8 ? 3 : 6;
      if (b->Action < 0) b->FrameCount = 6;
      // The frame draws the window's own icon for these.
      if (b->Action == 3 || b->Action == 11) b->Image.SetSize(0, 0, pf24bit);
    }
    b->FrameCount = AtLeastOne(b->FrameCount);
    TitleButtons.push_back(std::move(b));
  }
}

void TSkinData::ReadMdiButtons(const TSkinIni& ini) {
  TBitmap strip;
  LoadSkinBitmap(strip, ini.ReadString("MDICONTROLS", "Image"));
  const int a = strip.Width() / 12;
  for (int k = 0; k < 3; ++k) {
    auto b = std::make_unique<TDataSkinSysButton>("MDIBUTTON" + std::to_string(k + 1));
    b->Action = 7 + k;
    b->Align = 100;
    b->Visibility = 100;
    b->Visibility1 = 100;
    b->FrameCount = 4;
    if (!strip.Empty()) {
      CopyColumns(strip, 4 * k * a, 4 * a, b->Image);
      b->Xcoord = (a + 4) * (3 - k);
    }
    TitleButtons.push_back(std::move(b));
  }
}

void TSkinData::ReadButtons(const TSkinIni& ini) {
  TDataSkinButton& b = *Buttons;
  const char* s = "Buttons";
  b.LeftWidth = ini.ReadInteger(s, "LeftWidth", 0);
  b.RightWidth = ini.ReadInteger(s, "RightWidth", 0);
  b.TopHeight = ini.ReadInteger(s, "TopHeight", 0);
  b.BottomHeight = ini.ReadInteger(s, "BottomHeight", 0);
  b.Trans = ini.ReadInteger(s, "Trans", 0);
  LoadSkinBitmap(b.Image, ini.ReadString(s, "Bitmap"));
  b.Tile = ini.ReadInteger(s, "Tile", 0);
  LoadSkinBitmap(b.CheckButton, ini.ReadString(s, "CheckButton"));
  LoadSkinBitmap(b.RadioButton, ini.ReadString(s, "RadioButton"));
  b.RadioButtonFrame = ini.ReadInteger(s, "RadioButtonFrame", 0);
  b.CheckButtonFrame = ini.ReadInteger(s, "CheckButtonFrame", 0);
  const std::string normal = ini.ReadString(s, "NormalColour2"), over = ini.ReadString(s, "MouseOverColour2"),
                    pressed = ini.ReadString(s, "PressedColour2");
  b.HasNormalColour2 = !normal.empty();
  b.HasMouseOverColour2 = !over.empty();
  b.HasPressedColour2 = !pressed.empty();
  b.NormalColour2 = ReadColour(normal, Colours.ButtonText);
  b.MouseOverColour2 = ReadColour(over, Colours.ButtonText);
  b.PressedColour2 = ReadColour(pressed, Colours.ButtonText);
}

void TSkinData::ReadTitle(const TSkinIni& ini) {
  TDataSkinTitle& t = *Title;
  const char* p = "Personality";
  LoadSkinBitmap(t.Image, ini.ReadString(p, "TextBack"));
  t.LeftWidth = ini.ReadInteger(p, "TextShift", 0);
  t.TopHeight = ini.ReadInteger(p, "TextShiftVert", 0);
  t.RightWidth = ini.ReadInteger(p, "TextRightClip", 0);
  t.BottomHeight = 0;
  t.TextAlignment = ini.ReadInteger(p, "TextAlignment", 0);
  t.Textbackground = ini.ReadInteger(p, "Textbackground", 0);
  t.FontHeight = ini.ReadInteger("Fonts", "FontHeight", 14);
  t.TXTBackleft = ini.ReadInteger(p, "TXTBackleft", 0);
  t.TXTBackRight = ini.ReadInteger(p, "TXTBackRight", 0);
  auto rgb = [&](const std::string& prefix) -> TColor {
    const int32_t r = ini.ReadInteger(p, prefix + "R", -1), g = ini.ReadInteger(p, prefix + "G", -1),
                  b = ini.ReadInteger(p, prefix + "B", -1);
    if (r < 0 || g < 0 || b < 0) return clNone;
    return (r & 0xFF) + (g & 0xFF) * 256 + (b & 0xFF) * 65536;
  };
  t.ActiveText = rgb("ActiveText");
  t.InActiveText = rgb("InActiveText");
}

void TSkinData::ReadElementKeys(const TSkinIni& ini, TDataSkinObject& e, bool style) {
  const std::string& s = e.Name;
  if (style) e.Style = ini.ReadInteger(s, "Style", 0);
  e.LeftWidth = ini.ReadInteger(s, "LeftWidth", 0);
  e.RightWidth = ini.ReadInteger(s, "RightWidth", 0);
  e.TopHeight = ini.ReadInteger(s, "TopHeight", 0);
  e.BottomHeight = ini.ReadInteger(s, "BottomHeight", 0);
  e.Trans = ini.ReadInteger(s, "Trans", 0);
  e.Tile = ini.ReadInteger(s, "Tile", 0);
  if (e.Tile > 1) e.Tile = 0;
  e.NormalColour2 = ReadColour(ini.ReadString(s, "NormalColour2"), Colours.ButtonText);
  e.MouseOverColour2 = ReadColour(ini.ReadString(s, "MouseOverColour2"), Colours.ButtonText);
  e.PressedColour2 = ReadColour(ini.ReadString(s, "PressedColour2"), Colours.ButtonText);
}

template <class T>
std::unique_ptr<T> TSkinData::ReadElement(const TSkinIni& ini, const std::string& section, bool style) {
  const std::string image = ini.ReadString(section, "Image");
  if (image.empty()) return nullptr;
  auto e = std::make_unique<T>(section);
  LoadSkinBitmap(e->Image, image);
  ReadElementKeys(ini, *e, style);
  return e;
}

std::unique_ptr<TDataSkinBorder> TSkinData::ReadPair(const TSkinIni& ini, const std::string& section,
                                                     const std::string& secondImage) {
  auto e = ReadElement<TDataSkinBorder>(ini, section, false);
  if (e && !secondImage.empty()) {
    const std::string second = ini.ReadString(section, secondImage);
    if (!second.empty()) LoadSkinBitmap(e->Image2, second);
  }
  return e;
}

void TSkinData::ReadElements(const TSkinIni& ini) {
  Progress.reset();
  const std::string progress = ini.ReadString("Progress", "Bitmap");
  if (!progress.empty()) {
    Progress = std::make_unique<TDataSkinBorder>("Progress");
    LoadSkinBitmap(Progress->Image, progress);
    const std::string chunk = ini.ReadString("Progress", "Chunk");
    if (!chunk.empty()) LoadSkinBitmap(Progress->Image2, chunk);
    Progress->Style = ini.ReadInteger("Progress", "Style", 0);
    Progress->LeftWidth = ini.ReadInteger("Progress", "LeftWidth", 0);
    Progress->RightWidth = ini.ReadInteger("Progress", "RightWidth", 0);
    Progress->TopHeight = ini.ReadInteger("Progress", "TopHeight", 0);
    Progress->BottomHeight = ini.ReadInteger("Progress", "BottomHeight", 0);
    Progress->Trans = ini.ReadInteger("Progress", "Trans", 0);
    Progress->Tile = ini.ReadInteger("Progress", "Tile", 0);
  }

  MenuBar.reset();
  const std::string menuBar = ini.ReadString("Personality", "menuBar");
  if (!menuBar.empty()) {
    MenuBar = std::make_unique<TDataSkinObject>("MenuBar");
    LoadSkinBitmap(MenuBar->Image, menuBar);
    MenuBar->Tile = ini.ReadInteger("Personality", "TileMenu", 0);
    MenuBar->LeftWidth = ini.ReadInteger("Personality", "TileLeftMenu", 1);
    MenuBar->RightWidth = ini.ReadInteger("Personality", "TileRightMenu", 1);
  }

  GroupBoxEdge = ReadElement<TDataSkinObject>(ini, "GroupBoxEdge", true);
  GroupBox = ReadElement<TDataSkinBoxLabel>(ini, "GroupBox", true);
  if (GroupBox) {
    GroupBox->BackgroundAlignment = ini.ReadInteger("GroupBox", "BackgroundAlignment", 0);
    GroupBox->BackgroundLeftShift = ini.ReadInteger("GroupBox", "BackgroundLeftShift", 0);
    GroupBox->BackgroundRightShift = ini.ReadInteger("GroupBox", "BackgroundRightShift", 0);
  }
  Toolbars = ReadElement<TDataSkinObject>(ini, "Toolbars", true);
  Tabs = ReadPair(ini, "Tabs", "Border");
  StatusBarEdges = ReadElement<TDataSkinObject>(ini, "StatusBarEdges", true);
  ComboButton = ReadPair(ini, "ComboButton", "");
  if (ComboButton && !ComboButton->Image.Empty()) {
    CopyBitmap24(ComboButton->Image, ComboButton->Image2);
    MirrorBitmap(ComboButton->Image2);
  }
  SunkEdge = ReadElement<TDataSkinObject>(ini, "SunkEdge", true);
  ExtraImages = ReadElement<TDataSkinObject>(ini, "ExtraImages", true);
  Headerbar = ReadElement<TDataSkinObject>(ini, "Headerbar", true);
  MenuItem = ReadElement<TDataSkinObject>(ini, "MenuItem", true);
  MenuBackground = ReadElement<TDataSkinObject>(ini, "MenuBackground", true);
  Scrollbar = ReadElement<TDataSkinObject>(ini, "Scrollbar", true);
  HorzScroll = ReadElement<TDataSkinObject>(ini, "HorzScroll", true);
  VertScroll = ReadElement<TDataSkinObject>(ini, "VertScroll", true);
  HorzScrollThumb = ReadElement<TDataSkinObject>(ini, "HorzScrollThumb", true);
  VertScrollThumb = ReadElement<TDataSkinObject>(ini, "VertScrollThumb", true);
  TrackbarThumbHorz = ReadElement<TDataSkinObject>(ini, "Trackbar.ThumbHorz", true);
  TrackbarThumbVert = ReadElement<TDataSkinObject>(ini, "Trackbar.ThumbVert", true);
  TrackbarThumbLeft = ReadElement<TDataSkinObject>(ini, "Trackbar.ThumbLeft", true);
  TrackbarThumbRight = ReadElement<TDataSkinObject>(ini, "Trackbar.ThumbRight", true);
  TrackbarThumbUp = ReadElement<TDataSkinObject>(ini, "Trackbar.ThumbUp", true);
  TrackbarThumbDown = ReadElement<TDataSkinObject>(ini, "Trackbar.ThumbDown", true);
  UpDownHorz = ReadPair(ini, "UpDown.Horz", "GlyphImage");
  UpDownVert = ReadPair(ini, "UpDown.Vert", "GlyphImage");
}

void TSkinData::SetFrameCounts(const TSkinIni& ini) {
  Buttons->FrameCount = 5;
  // A strip's frames are square: 13 pixels in the small strips, else 16.
  auto stripFrames = [](int32_t frames, const TBitmap& strip) {
    if (frames == 0) frames = std::max(strip.Width() / (strip.Height() < 16 ? 13 : 16), 4);
    return AtLeastOne(frames);
  };
  Buttons->RadioButtonFrame = stripFrames(Buttons->RadioButtonFrame, Buttons->RadioButton);
  Buttons->CheckButtonFrame = stripFrames(Buttons->CheckButtonFrame, Buttons->CheckButton);
  Title->FrameCount = 2;

  const std::pair<TDataSkinObject*, int32_t> fixed[] = {
      {Progress.get(), 2},       {MenuBar.get(), 2},          {GroupBoxEdge.get(), 2},     {GroupBox.get(), 1},
      {Toolbars.get(), 5},       {Tabs.get(), 5},             {StatusBarEdges.get(), 3},   {ComboButton.get(), 4},
      {SunkEdge.get(), 4},       {ExtraImages.get(), 5},      {Headerbar.get(), 5},        {MenuItem.get(), 5},
      {MenuBackground.get(), 1}, {Scrollbar.get(), 23},       {HorzScroll.get(), 4},       {VertScroll.get(), 4},
      {TrackbarThumbHorz.get(), 5}, {TrackbarThumbVert.get(), 5}, {TrackbarThumbLeft.get(), 5},
      {TrackbarThumbRight.get(), 5}, {TrackbarThumbUp.get(), 5}, {TrackbarThumbDown.get(), 5},
      {UpDownHorz.get(), 8},     {UpDownVert.get(), 8},
  };
  for (const auto& [record, frames] : fixed)
    if (record) record->FrameCount = frames;
  for (TDataSkinObject* thumb : {HorzScrollThumb.get(), VertScrollThumb.get()})
    if (thumb) thumb->FrameCount = AtLeastOne(ini.ReadInteger(thumb->Name, "FrameCount", 3));
}
