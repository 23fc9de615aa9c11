; The installer's own texts in the program's three languages (UTF-8).

LangString QvlStartupSection ${LANG_ENGLISH} "Start Quaverlane when Windows starts"
LangString QvlStartupSection ${LANG_GERMAN} "Quaverlane mit Windows starten"
LangString QvlStartupSection ${LANG_JAPANESE} "Windows の起動時に Quaverlane を開始する"

LangString QvlRunning ${LANG_ENGLISH} "Quaverlane is running. Exit it with Exit in the menu of its icon in the notification area, then choose Retry."
LangString QvlRunning ${LANG_GERMAN} "Quaverlane läuft. Beenden Sie es über „Beenden“ im Menü seines Symbols im Infobereich, und wählen Sie dann „Wiederholen“."
LangString QvlRunning ${LANG_JAPANESE} "Quaverlane が実行中です。通知領域のアイコンのメニューから「終了」で終了してから、「再試行」を選んでください。"

LangString QvlHelpShortcut ${LANG_ENGLISH} "Quaverlane Help"
LangString QvlHelpShortcut ${LANG_GERMAN} "Quaverlane-Hilfe"
LangString QvlHelpShortcut ${LANG_JAPANESE} "Quaverlane ヘルプ"

; The help file in the installer's language, as the program opens it for its language file.
LangString QvlHelpFile ${LANG_ENGLISH} "lang_eng.chm"
LangString QvlHelpFile ${LANG_GERMAN} "lang_deu.chm"
LangString QvlHelpFile ${LANG_JAPANESE} "lang_jpn.chm"

LangString QvlUninstallShortcut ${LANG_ENGLISH} "Uninstall Quaverlane"
LangString QvlUninstallShortcut ${LANG_GERMAN} "Quaverlane deinstallieren"
LangString QvlUninstallShortcut ${LANG_JAPANESE} "Quaverlane のアンインストール"
