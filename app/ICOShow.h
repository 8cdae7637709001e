// The picture overlay: a translucent picture from the picture library in the
// middle of the screen, with a line of text or level bars, held for 1.5 s and
// then faded out.
#pragma once
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "Forms.h"
#include "Graphics.h"
#include "ThreadTimer.h"

// Bars drawn for a level: level div 8 within 0..12.
int LevelBars(int level);

// A picture of the library (a module) ready for the layered window: 32 bits,
// premultiplied; the platform's messages when it is missing or has no alpha.
std::unique_ptr<TPngImage> LoadOverlayPicture(HMODULE library, const std::string& name);

class TICOForm : public TForm {
  UI_CLASS(TICOForm)
 public:
  explicit TICOForm(TComponent* owner);
  ~TICOForm() override;

  void ShowIconText(const std::string& name, const std::string& text);
  void ShowIconLevel(const std::string& name, int level);
  // From a show until the fade has hidden the window.
  bool Showing() const { return Visible(); }
  BYTE Opacity() const { return blend_.SourceConstantAlpha; }
  // What the last show put on screen: the picture, its text, its level
  // (none for a text show).
  const std::string& PictureName() const { return pictureName_; }
  const std::string& Text() const { return text_; }
  std::optional<int> Level() const { return level_; }

  // The two timers' procedures.
  void HoldTimerProc();
  void FadeTimerProc();

 private:
  struct TDrawing;

  void FormCreate(TObject* Sender);
  // Both shows: the hold, the picture, the window; then the layer, drawn
  // anew only when it holds something else.
  void Show(const std::string& name, const std::string& text, std::optional<int> level);
  void DrawLayer(TBitmap& picture);

  HMODULE library_ = nullptr;
  // Every picture shown, decoded and premultiplied once: the library is small.
  std::map<std::string, std::unique_ptr<TPngImage>> pictures_;
  // The window's source bitmap and what is drawn on it, kept between shows.
  TBitmap layer_;
  std::string layerKey_;
  std::unique_ptr<TDrawing> drawing_;
  BLENDFUNCTION blend_ = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  SIZE size_ = {0, 0};
  std::string pictureName_, text_;
  std::optional<int> level_;
  ui::ThreadTimer hold_, fade_;
  ULONG_PTR gdiplus_ = 0;
};

extern TICOForm* ICOForm;
