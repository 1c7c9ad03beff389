; The .ton file type of the current user (HKCU\Software\Classes, which Windows merges into
; HKCR): a double-click on a tone setting opens it in Sonaril, its tone created at once.

!define TONE_PROGID "Sonaril.ToneSetting"
!define USER_CLASSES "Software\Classes"

; SHCNE_ASSOCCHANGED with no items: Explorer reloads icons and open commands.
!macro NotifyShellOfAssociations
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
!macroend

!macro RegisterToneFiles
  WriteRegStr HKCU "${USER_CLASSES}\${TONE_PROGID}" "" "Sonaril tone setting"
  WriteRegStr HKCU "${USER_CLASSES}\${TONE_PROGID}\DefaultIcon" "" '"$INSTDIR\Sonaril.exe",0'
  WriteRegStr HKCU "${USER_CLASSES}\${TONE_PROGID}\shell\open\command" "" '"$INSTDIR\Sonaril.exe" "%1"'
  WriteRegStr HKCU "${USER_CLASSES}\.ton" "" "${TONE_PROGID}"
  WriteRegStr HKCU "${USER_CLASSES}\.ton\OpenWithProgids" "${TONE_PROGID}" ""
  !insertmacro NotifyShellOfAssociations
!macroend

!macro UnregisterToneFiles
  DeleteRegKey HKCU "${USER_CLASSES}\${TONE_PROGID}"
  DeleteRegValue HKCU "${USER_CLASSES}\.ton\OpenWithProgids" "${TONE_PROGID}"
  DeleteRegKey /ifempty HKCU "${USER_CLASSES}\.ton\OpenWithProgids"
  ; A program that took .ton over since keeps it.
  ReadRegStr $0 HKCU "${USER_CLASSES}\.ton" ""
  StrCmp $0 "${TONE_PROGID}" 0 +2
    DeleteRegValue HKCU "${USER_CLASSES}\.ton" ""
  DeleteRegKey /ifempty HKCU "${USER_CLASSES}\.ton"
  !insertmacro NotifyShellOfAssociations
!macroend
