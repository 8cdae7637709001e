// The tilt game control's window "V-Uvevozov": registers with the device,
// turns its tilt readings into keys, and tells the control center that a game
// runs while it is open.
#pragma once
#include "ExtCtrls.h"
#include "Forms.h"
#include "KeyRepeat.h"
#include "ThreadTimer.h"
#include "TiltGesture.h"

// The control center's main window, by caption (any class).
constexpr char kPavonaCaption[] = "QVX Center";

class TForm1 : public TForm, private tilt::TiltListener {
  UI_CLASS(TForm1)
 public:
  explicit TForm1(TComponent* owner);

  TPanel* Panel1 = nullptr;  // up
  TPanel* Panel2 = nullptr;  // down
  TPanel* Panel3 = nullptr;  // left
  TPanel* Panel4 = nullptr;  // right
  TPanel* Panel5 = nullptr;  // control state
  TImage* Image1 = nullptr;
  TImage* Image2 = nullptr;
  TImage* Image3 = nullptr;
  TImage* Image4 = nullptr;
  TImage* Image5 = nullptr;

  // Draws the arrow and disc pictures once the components are read.
  void Loaded() override;

  const tilt::TiltGesture& Gesture() const { return gesture_; }

 private:
  void FormCreate(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormKeyDown(TObject* Sender, WORD& Key, int Shift);
  void FormKeyUp(TObject* Sender, WORD& Key, int Shift);
  void WMDeviceChange(TMessage& Msg);
  TPanel* ArrowPanel(WORD key) const;
  void PostToPavona(UINT msg);

  // TiltListener: the gesture's decisions reach the keyboard, timers and panel.
  void TapKeyC() override;
  void TapShowDesktop() override;
  void ArmRearmTimer(tilt::RearmTimer timer, unsigned ms) override;
  void StartRepeat(tilt::Direction d) override;
  void StopRepeat(tilt::Direction d) override;
  void ShowControl(bool on) override;

  UINT gameOnId_ = 0, gameOffId_ = 0;
  HWND pavona_ = nullptr;
  bool closed_ = false;
  tilt::TiltGesture gesture_{*this};
  tilt::KeyRepeat repeat_;
  ui::ThreadTimer keyCRearm_, toggleRearm_;
};

extern TForm1* Form1;
