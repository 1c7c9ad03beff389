// What a window hands to the views it owns so that they can report back to it.
// The four notifications do nothing unless the owner overrides them; the
// waveform view reports nothing today, so the main window overrides none.
#pragma once

class CEventListener {
 public:
  virtual ~CEventListener() = default;
  virtual void OnViewClicked(int /*x*/, int /*y*/) {}
  virtual void OnViewDoubleClicked(int /*x*/, int /*y*/) {}
  virtual void OnViewScrolled(int /*column*/, int /*line*/) {}
  virtual void OnViewCommand(int /*id*/, int /*code*/) {}
};

// The main window's side of that conversation.
class CAppEventListener : public CEventListener {};
