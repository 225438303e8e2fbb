# tavo_platform_ui: application, frame, view base, bars, dialogs on Qt.
