#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "Forms.h"
#include "TestSupport.h"
#include "Unit_MICMixer.h"
#include "Unit_Mixer.h"

namespace {

// The test runs twice: once on a machine without sound (the plain Wine
// prefix) and once with a null ALSA device, which gives device 0 a speaker
// line with volume and mute.
bool HaveMixer() { return mixerGetNumDevs() > 0; }

std::vector<LPARAM> notifications;
LRESULT CALLBACK Record(HWND, UINT msg, WPARAM, LPARAM lp) {
  if (msg == MM_MIXM_CONTROL_CHANGE) notifications.push_back(lp);
  return 0;
}

}  // namespace

TEST(SpeakerMixer, WithoutADeviceReadsGiveZeroAndWritesDoNothing) {
  if (HaveMixer()) GTEST_SKIP() << "this machine has a mixer";
  EXPECT_NE(OpenSpeakerMixer(0), 0);
  EXPECT_EQ(GetSpeakerVolume(), 0u);
  EXPECT_FALSE(GetSpeakerMute());
  SetSpeakerMute(true);
  SetSpeakerVolume(1000);
  EXPECT_FALSE(GetSpeakerMute());
  CloseSpeakerMixer();
  CloseSpeakerMixer();  // closing twice is harmless
}

TEST(SpeakerMixer, VolumeAndMuteRoundTrip) {
  if (!HaveMixer()) GTEST_SKIP() << "no mixer device";
  EXPECT_EQ(OpenSpeakerMixer(0), 0);
  SetSpeakerVolume(0x8000);
  EXPECT_NEAR(static_cast<double>(GetSpeakerVolume()), 0x8000, 0x200);
  SetSpeakerVolume(0);
  EXPECT_EQ(GetSpeakerVolume(), 0u);
  SetSpeakerMute(true);
  EXPECT_TRUE(GetSpeakerMute());
  SetSpeakerMute(false);
  EXPECT_FALSE(GetSpeakerMute());
  CloseSpeakerMixer();
  EXPECT_EQ(GetSpeakerVolume(), 0u) << "a closed mixer reads 0";
}

TEST(MicMixer, MissingControlsAreNeverWritten) {
  // The null device has no microphone line: nothing is found, and setting
  // the microphone's mute must not land on control 0, the speaker volume.
  if (!HaveMixer()) GTEST_SKIP() << "no mixer device";
  OpenSpeakerMixer(0);
  SetSpeakerVolume(0x4000);
  const DWORD before = GetSpeakerVolume();
  OpenMicMixer(Record);
  ASSERT_NE(MicMixerWindow(), nullptr);
  SetMicMute(true);
  SetMicLinkedControl(true);
  EXPECT_FALSE(GetMicMute());
  EXPECT_FALSE(GetMicLinkedControl());
  EXPECT_EQ(GetSpeakerVolume(), before);
  CloseMicMixer();
  CloseSpeakerMixer();
}

TEST(MicMixer, CallbackWindowReceivesMessagesThroughTheGivenProcedure) {
  notifications.clear();
  OpenMicMixer(Record);
  HWND w = MicMixerWindow();
  ASSERT_NE(w, nullptr);
  SendMessageA(w, MM_MIXM_CONTROL_CHANGE, 0, 7);
  EXPECT_EQ(notifications, std::vector<LPARAM>{7});
  CloseMicMixer();
  EXPECT_FALSE(IsWindow(w));
}

namespace {
LRESULT CALLBACK Throwing(HWND, UINT msg, WPARAM, LPARAM) {
  if (msg == MM_MIXM_CONTROL_CHANGE) throw std::runtime_error("mixer gone");
  return 0;
}
}  // namespace

TEST(MicMixer, AnErrorInTheCallbackIsReportedAndTheWindowStays) {
  TApplication app;
  std::vector<std::string> errors;
  app.OnException = [&](TObject*, const std::string& m) { errors.push_back(m); };
  OpenMicMixer(Throwing);
  HWND w = MicMixerWindow();
  ASSERT_NE(w, nullptr);
  SendMessageA(w, MM_MIXM_CONTROL_CHANGE, 0, 7);
  EXPECT_EQ(errors, std::vector<std::string>{"mixer gone"});
  EXPECT_TRUE(IsWindow(w));
  CloseMicMixer();
}
