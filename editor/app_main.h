// The main window: the whole tone editor in one dialog. It holds the current tone setting,
// the generated tone, the waveform view and the renderer that plays the tone, and it is the
// program's application object, run by the window framework from the program entry.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "app/app_base.h"
#include "app/event_listener.h"
#include "audio/mme_renderer.h"
#include "audio/sound_listener.h"
#include "editor/digits_setting.h"
#include "editor/playback_control.h"
#include "editor/signal_view.h"
#include "editor/unsaved_changes.h"
#include "synth/tone_setting.h"

// Posted by the render thread when the tone has been played to its end: press STOP.
constexpr UINT WM_APP_STOP = WM_USER + 5;

// Lets playback drive the embedded waveOut renderer.
class CRendererPlayback : public PlaybackDevice {
 public:
  explicit CRendererPlayback(CMMERenderer* renderer) : renderer_(renderer) {}
  bool IsOpen() override { return renderer_->IsOpen(); }
  bool Open(int32_t channels, int32_t samples_per_second, int32_t bits,
            int32_t latency_ms) override {
    return renderer_->Open(channels, samples_per_second, bits, latency_ms);
  }
  bool IsPlaying() override { return renderer_->IsPlaying(); }
  bool Start() override { return renderer_->Start(); }
  bool Stop() override { return renderer_->Stop(); }
  void Close() override { renderer_->Close(); }

 private:
  CMMERenderer* renderer_;  // not owned
};

class CAppMain : public CAppBase, public CAppEventListener, public CSoundListener {
 public:
  // Publishes itself as current_app; only one copy of the program window per class search.
  CAppMain();
  // Shuts the renderer down if that has not happened, then frees the buffers and the lists.
  ~CAppMain() override;

  INT_PTR Run(HINSTANCE instance, HINSTANCE previous_instance, const wchar_t* command_line,
              int show_command) override;
  // The framework's messages plus WM_POWERBROADCAST and WM_APP_STOP.
  INT_PTR DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) override;
  // A double-click on a list row modifies that row.
  void OnNotify(WPARAM wparam, LPARAM lparam) override;
  void OnCommand(int id, int code) override;
  // Releases the drop, then opens its first file as a tone setting after the
  // unsaved-changes question.
  int OnDropFiles(HDROP drop, wchar_t* buffer, int buffer_size) override;
  void OnInitDialog(HWND dialog, WPARAM wparam, LPARAM lparam) override;
  // The framework's Init, then the renderer with the saved device and Repeat Play.
  int Init(HINSTANCE instance) override;
  // Keeps the command line; its first token is opened when the window starts.
  void OnCommandLine(const wchar_t* command_line) override;
  // After the unsaved-changes question (Cancel keeps the window), shuts the renderer down
  // and allows closing.
  int CanClose() override;
  const wchar_t* GetDialogId() override;

  // Render thread: fills the block from the output buffer; at its end asks for STOP.
  uint32_t OnRender(uint8_t* block, uint32_t size) override;
  void OnRenderEnd(WAVEHDR* header) override;

  // File commands.
  void NewSetting();
  void OpenToneFile();
  void OpenFromToneLibrary();
  // Opens path as the tone setting and creates its tone. A file that cannot be read at all
  // changes nothing and is reported; false then.
  bool LoadToneFile(const wchar_t* path);
  // True once saved; false after Cancel or a failure (reported).
  bool SaveToneFileAs();
  // Saves to path, or with null to the setting's own path; a failure is reported, false.
  bool SaveToneFile(const wchar_t* path);
  // Save, or Save As for a setting that has no file yet; true once saved.
  bool SaveCurrentSetting();
  // Every path that replaces the setting or ends the program calls this first. When the
  // setting differs from the one last opened, saved or started with, asks "Save changes to
  // NAME?": true to go on (saved, or No), false to keep everything (Cancel, or a save that
  // failed or was cancelled). True at once for an unchanged setting.
  bool ConfirmDiscardChanges();
  void CreateTone();
  void ExportTone();
  // Edit > "Tone String...": replaces the steps and tones with those of a typed tone string
  // at the window's rate and repeat. An edit like any other: it asks nothing, keeps the
  // setting's file, and the title then marks the change.
  void EditToneString();
  // Edit > "DTMF/MF Digits...": the same for the steps and tones that send digits.
  void EnterDigits();
  // Picks a recording and checks it against the setting as the window shows it.
  void CheckRecording();

  // Ring-pattern and tone list commands.
  void AddStep();
  void ModifyStep();
  void DeleteStep();
  void MoveStepUp();
  void MoveStepDown();
  void AddTone();
  void ModifyTone();
  void DeleteTone();

  // Playback commands.
  void Play();
  void Pause();
  void StopPlayback();
  void ToggleRepeatPlay();
  void ChooseOutputDevice();
  void OnPowerBroadcast(WPARAM event);

  CMMERenderer renderer;
  CSignalView view;
  ToneSetting tone_setting;
  int32_t filter_on = 0;
  int32_t device_count = 0;
  DeviceCaps* device_list = nullptr;  // owned, device_count records
  int32_t sampling_frequency = 8000;  // Hz of the setting; Open and Save change it
  int32_t pattern_total = 0;          // ms
  int32_t repeat = 1;
  int32_t sample_count = 0;  // 0: no generated tone
  int16_t* sample_buffer = nullptr;  // owned; shown and exported
  // Hz sample_buffer was synthesised at. Exports are labelled with it: the setting's rate
  // may have moved on without a new tone being made.
  int32_t sample_rate = 8000;
  // STOP, PLAY, PAUSE, Repeat Play and the output buffer that is played.
  CRendererPlayback playback_device{&renderer};
  CPlaybackControl playback{&playback_device};
  std::wstring command_line;
  // What was last typed into the tone library's country field and the digits dialog.
  std::wstring library_filter;
  DigitsForm digits_form;

 private:
  void FillOutputDeviceList();
  void ApplyTransportChecks();
  void EnableToneButtons(bool enable);
  void ShowPatternTotal();
  void ShowSettingValues();
  // Copies the window's sampling frequency, repeat count and filter into the setting.
  void TakeWindowValues();
  // Puts built's steps and tones (and its values) in place of the setting's, keeping its
  // file, shows them and creates the tone.
  void ReplaceStepsAndTones(ToneSetting& built);
  // Shows the lists and values of a setting just put in place and creates its tone.
  void ShowReplacedSetting();
  int32_t SelectedSamplingFrequency();
  int32_t ReadRepeat();
  bool IsFilterChecked();
  void RecomputePatternTotal();
  void ReloadLists();
  void ShowMessage(const std::wstring& text, const wchar_t* caption);
  int32_t Language() const;
  // The values Save would write now.
  SettingValues CurrentValues();
  // The setting as it stands becomes the one opened, saved or started with.
  void MarkSettingUnchanged();
  bool HasUnsavedChanges();
  // The caption, marked with "*" while there are unsaved changes.
  void RefreshTitle();

  SettingValues unchanged_values_;
  bool tracking_changes_ = false;  // from the end of the window's set-up on
  bool title_marked_ = false;
  std::wstring caption_;  // the template's
};
