// The rows of the interface-language table, in message-number order: the
// number, the key that language files use, the internal English text and, for
// the COMMENT_ rows only, the text that the exported language file carries in
// their place. A row's number is its position; message_table.cpp checks that.
//
// Row 333 (END_OF_TABLE) closed the table of older language files; rows
// added since follow it, so that old files keep their numbers and show the
// English text of the rows they lack.
//
// Each row is X(number, key, english, comment). English texts hold no double
// quote and no backslash, so that an exported file loads back unchanged.
//
// Included only by message_table.h and message_table.cpp.

// clang-format off
#define WORDBAY_MESSAGE_ROWS(X) \
    X(0, COMMENT_NEW_LINE, "", ";") \
    X(1, MSG_MAIN_WINDOW_CAPTION, "KX Dictionary", nullptr) \
    X(2, COMMENT_MAIN_MENU, "", "\n; main menu") \
    X(3, MENU_DICTIONARY, "&Dictionary", nullptr) \
    X(4, MENU_CREATE_NEW, "Create &new...", nullptr) \
    X(5, MENU_IMPORT, "&Import...", nullptr) \
    X(6, MENU_UPDATE, "&Update...", nullptr) \
    X(7, MENU_CHANGE, "&Change dictionary...", nullptr) \
    X(8, MENU_SAVE, "&Save", nullptr) \
    X(9, MENU_SAVE_AS, "Save &as...", nullptr) \
    X(10, MENU_EXPORT, "&Export...", nullptr) \
    X(11, MENU_DICTIONARY_INFO, "Dictionary in&formation...", nullptr) \
    X(12, MENU_EXIT, "E&xit", nullptr) \
    X(13, COMMENT_NEW_LINE1, "", ";") \
    X(14, MENU_FUNCTIONS, "&Functions", nullptr) \
    X(15, MENU_CHARMAP, "Character &map", nullptr) \
    X(16, MENU_DUAL_MODE, "D&ual mode", nullptr) \
    X(17, MENU_LOAD_DUAL, "&Load dual dictionary...", nullptr) \
    X(18, MENU_LINK, "Lin&k dictionaries", nullptr) \
    X(19, MENU_MULTIPLE, "Link all &translations", nullptr) \
    X(20, MENU_EDIT, "&Edit dictionary\tF2", nullptr) \
    X(21, MENU_ADD_WORD, "&Add word", nullptr) \
    X(22, MENU_DELETE_WORD, "&Delete word", nullptr) \
    X(23, MENU_CHANGE_WORD, "C&hange word", nullptr) \
    X(24, MENU_TRANSLATE_TEXT, "T&ranslate text...", nullptr) \
    X(25, MENU_COPY, "&Copy\tCtrl+C", nullptr) \
    X(26, MENU_PASTE, "&Paste\tCtrl+D", nullptr) \
    X(27, MENU_LIST_PALINDROME, "List pali&ndromes", nullptr) \
    X(28, MENU_LIST_IDENTICAL, "List &identical words", nullptr) \
    X(29, COMMENT_NEW_LINE2, "", ";") \
    X(30, MENU_SETTINGS, "&Settings", nullptr) \
    X(31, MENU_INTERFACE, "Dictionary &settings...", nullptr) \
    X(32, MENU_INTERFACE_LANGUAGE, "Interface &language...", nullptr) \
    X(33, MENU_ALWAYS_ON_TOP, "Main window always on &top", nullptr) \
    X(34, MENU_USE_HOTKEYS, "Use &hot keys", nullptr) \
    X(35, MENU_ACTIVATE_SPEECH, "Activate s&peech", nullptr) \
    X(36, MENU_ANAGRAMS_1, "Anagram - use each letter more than &once", nullptr) \
    X(37, MENU_ANAGRAMS_2, "Anagram - use each letter o&nly once", nullptr) \
    X(38, MENU_ANAGRAMS_3, "Anagram - use each letter onl&y once - exact size", nullptr) \
    X(39, MENU_IGNORE_ACCENTS, "Ignore &accents\tF3", nullptr) \
    X(40, MENU_USE_REGEX, "Use &regular expressions\tF4", nullptr) \
    X(41, MENU_USE_WILDCARDS, "Use &wildcards\tF5", nullptr) \
    X(42, MENU_CASE_SENSITIVE, "&Case sensitive\tF6", nullptr) \
    X(43, MENU_USE_CLIPBOARD, "Use clip&board\tF7", nullptr) \
    X(44, MENU_CHANGE_TRANSLATION_DIRECTION, "Change translation &direction\tF8", nullptr) \
    X(45, MENU_AUTOTRANSLATE, "A&utomatic translation\tF9", nullptr) \
    X(46, COMMENT_NEW_LINE3, "", ";") \
    X(47, MENU_HELP, "&Help", nullptr) \
    X(48, MENU_HELP_CONTENTS, "&Contents\tF1", nullptr) \
    X(49, MENU_HELP_ABOUT, "&About...", nullptr) \
    X(50, COMMENT_MAIN_WINDOW_TOOLTIP, "", "\n; main window toolbar tooltips") \
    X(51, TOOLTIP_DICTIONARY, "Dictionary", nullptr) \
    X(52, TOOLTIP_CREATE_NEW, "Create a new dictionary", nullptr) \
    X(53, TOOLTIP_IMPORT, "Import a dictionary", nullptr) \
    X(54, TOOLTIP_UPDATE, "Update the dictionary from another dictionary", nullptr) \
    X(55, TOOLTIP_CHANGE, "Change dictionary", nullptr) \
    X(56, TOOLTIP_SAVE, "Save the dictionary", nullptr) \
    X(57, TOOLTIP_SAVE_AS, "Save the dictionary under a new name", nullptr) \
    X(58, TOOLTIP_EXPORT, "Export the dictionary", nullptr) \
    X(59, TOOLTIP_DICTIONARY_INFO, "Dictionary information", nullptr) \
    X(60, TOOLTIP_EXIT, "Exit", nullptr) \
    X(61, TOOLTIP_FUNCTIONS, "Functions", nullptr) \
    X(62, TOOLTIP_CHARMAP, "Character map", nullptr) \
    X(63, TOOLTIP_DUAL_MODE, "Dual mode: a second dictionary beside the first", nullptr) \
    X(64, TOOLTIP_LOAD_DUAL, "Load the dual dictionary", nullptr) \
    X(65, TOOLTIP_LINK, "Link the two dictionaries", nullptr) \
    X(66, TOOLTIP_MULTIPLE, "Link all translations", nullptr) \
    X(67, TOOLTIP_EDIT, "Edit dictionary (F2)", nullptr) \
    X(68, TOOLTIP_ADD_WORD, "Add word", nullptr) \
    X(69, TOOLTIP_DELETE_WORD, "Delete word", nullptr) \
    X(70, TOOLTIP_CHANGE_WORD, "Change word", nullptr) \
    X(71, TOOLTIP_TRANSLATE_TEXT, "Translate text", nullptr) \
    X(72, TOOLTIP_COPY, "Copy (Ctrl+C)", nullptr) \
    X(73, TOOLTIP_PASTE, "Paste (Ctrl+D)", nullptr) \
    X(74, TOOLTIP_LIST_PALINDROME, "List palindromes", nullptr) \
    X(75, TOOLTIP_LIST_IDENTICAL, "List words spelled alike in both lists", nullptr) \
    X(76, TOOLTIP_SETTINGS, "Dictionary settings", nullptr) \
    X(77, TOOLTIP_INTERFACE, "Interface", nullptr) \
    X(78, TOOLTIP_ALWAYS_ON_TOP, "Main window always on top", nullptr) \
    X(79, TOOLTIP_USE_HOTKEYS, "Use hot keys", nullptr) \
    X(80, TOOLTIP_ACTIVATE_SPEECH, "Activate speech", nullptr) \
    X(81, TOOLTIP_ANAGRAMS_1, "Anagram - use each letter more than once", nullptr) \
    X(82, TOOLTIP_ANAGRAMS_2, "Anagram - use each letter only once", nullptr) \
    X(83, TOOLTIP_ANAGRAMS_3, "Anagram - use each letter only once - exact size", nullptr) \
    X(84, TOOLTIP_IGNORE_ACCENTS, "Ignore accents (F3)", nullptr) \
    X(85, TOOLTIP_USE_REGEX, "Use regular expressions (F4)", nullptr) \
    X(86, TOOLTIP_USE_WILDCARDS, "Use wildcards (F5)", nullptr) \
    X(87, TOOLTIP_CASE_SENSITIVE, "Case sensitive (F6)", nullptr) \
    X(88, TOOLTIP_USE_CLIPBOARD, "Use clipboard (F7)", nullptr) \
    X(89, TOOLTIP_CHANGE_TRANSLATION_DIRECTION, "Change translation direction (F8)", nullptr) \
    X(90, TOOLTIP_AUTOTRANSLATE, "Automatic translation (F9)", nullptr) \
    X(91, TOOLTIP_HELP, "Help (F1)", nullptr) \
    X(92, TOOLTIP_HELP_CONTENTS, "Help contents", nullptr) \
    X(93, TOOLTIP_HELP_ABOUT, "About", nullptr) \
    X(94, TOOLTIP_MAIN_WINDOW, "Hot keys call the main window", nullptr) \
    X(95, TOOLTIP_POPUP_WINDOW, "Hot keys call the popup window", nullptr) \
    X(96, TOOLTIP_TOOLTIP_WINDOW, "Hot keys call the tooltip window", nullptr) \
    X(97, COMMENT_TEXT_WINDOW_MAIN_MENU, "", "\n; text translation window menu") \
    X(98, MENU_OPEN_TEXT_TO_TRANSLATE, "&Open text to translate...", nullptr) \
    X(99, MENU_SAVE_TEXT_TO_TRANSLATE, "&Save text to translate...", nullptr) \
    X(100, MENU_SAVE_TRANSLATED_TEXT, "Save &translated text...", nullptr) \
    X(101, COMMENT_NEW_LINE4, "", ";") \
    X(102, MENU_START_TRANSLATION, "&Start translation\tF12", nullptr) \
    X(103, MENU_STOP_TRANSLATION, "S&top translation", nullptr) \
    X(104, COMMENT_NEW_LINE5, "", ";") \
    X(105, MENU_FAST_TRANSLATION, "&Fast translation", nullptr) \
    X(106, MENU_STEP_TRANSLATION, "Step &by step translation", nullptr) \
    X(107, MENU_TRANSLATE_FROM_CURSOR, "Translate from &cursor", nullptr) \
    X(108, MENU_WORDWRAP_ORIGINAL_TEXT, "&Word wrap original text", nullptr) \
    X(109, MENU_WORDWRAP_TRANSLATED_TEXT, "Word wrap t&ranslated text", nullptr) \
    X(110, MENU_SEARCHING_DEPTH, "Searching &depth", nullptr) \
    X(111, COMMENT_NEW_LINE6, "", ";") \
    X(112, MENU_VIEW, "&View", nullptr) \
    X(113, MENU_TILE_HORIZONTALLY, "Tile &horizontally", nullptr) \
    X(114, MENU_TILE_VERTICALLY, "Tile &vertically", nullptr) \
    X(115, COMMENT_NEW_LINE7, "", ";") \
    X(116, COMMENT_TEXT_WINDOW_TOOLTIP, "", "\n; text translation window toolbar tooltips") \
    X(117, TOOLTIP_OPEN_ORIGINAL_TEXT, "Open the text to translate", nullptr) \
    X(118, TOOLTIP_SAVE_ORIGINAL_TEXT, "Save the text to translate", nullptr) \
    X(119, TOOLTIP_SAVE_TRANSLATED_TEXT, "Save the translated text", nullptr) \
    X(120, TOOLTIP_FAST_TRANSLATION, "Fast translation", nullptr) \
    X(121, TOOLTIP_STEP_TRANSLATION, "Step by step translation", nullptr) \
    X(122, TOOLTIP_START_TRANSLATION, "Start translation (F12)", nullptr) \
    X(123, TOOLTIP_STOP_TRANSLATION, "Stop translation", nullptr) \
    X(124, TOOLTIP_TRANSLATE_FROM_CURSOR, "Translate from the cursor", nullptr) \
    X(125, TOOLTIP_CLOSE_WINDOW, "Close the window", nullptr) \
    X(126, TOOLTIP_SEARCHING_DEPTH, "Searching depth: the most words looked up as one phrase", nullptr) \
    X(127, COMMENT_CONTROL_POPUP_MENU, "", "\n; listbox and edit box popup menu") \
    X(128, MENU_DROP, "&Drop word", nullptr) \
    X(129, MENU_SPEAK, "&Speak\tF11", nullptr) \
    X(130, MENU_STOP, "St&op speaking", nullptr) \
    X(131, MENU_CUT, "Cu&t", nullptr) \
    X(132, MENU_DELETE, "De&lete", nullptr) \
    X(133, MENU_UNDO, "&Undo", nullptr) \
    X(134, MENU_SELECTALL, "Select &all\tCtrl+A", nullptr) \
    X(135, COMMENT_TRAY_MENU, "", "\n; tray menu") \
    X(136, MENU_RESTORE_FROM_TRAY, "&Restore", nullptr) \
    X(137, COMMENT_DIALOGS, "", "\n; dialogs") \
    X(138, COMMENT_MAIN_DIALOG, "", "\n; main dialog") \
    X(139, MSG_DICTIONARY_SETTINGS, "Dictionary settings", nullptr) \
    X(140, MSG_CLOSE, "Close", nullptr) \
    X(141, MSG_HELP, "Help", nullptr) \
    X(142, MSG_FONT_AND_COLOR, "Fonts and colors", nullptr) \
    X(143, MSG_FONT_AND_COLOR1, "Popup and tooltip", nullptr) \
    X(144, MSG_SPEECH, "Speech", nullptr) \
    X(145, COMMENT_CONFIG_DIALOG, "", "\n; config dialog") \
    X(146, MSG_HOT_KEYS, "Hot keys", nullptr) \
    X(147, MSG_USE_HOTKEYS, "Use hot keys", nullptr) \
    X(148, MSG_HOT_KEYS_ACTIVATE, "Hot keys activate", nullptr) \
    X(149, MSG_MAIN_WINDOW, "Main window", nullptr) \
    X(150, MSG_POPUP_WINDOW, "Popup window", nullptr) \
    X(151, MSG_TOOLTIP_WINDOW, "Tooltip window", nullptr) \
    X(152, MSG_MINIMIZE_TO_TRAY, "Minimize to tray", nullptr) \
    X(153, MSG_MAIN_WINDOW_ON_TOP, "Main window always on top", nullptr) \
    X(154, MSG_POPUP_WINDOW_ON_TOP, "Popup window always on top", nullptr) \
    X(155, MSG_TOOLTIP_WINDOW_ON_TOP, "Tooltip window always on top", nullptr) \
    X(156, MSG_SHOW_SPLASH_MESSAGE, "Show the start-up message", nullptr) \
    X(157, MSG_MAIN_WINDOW_ALWAYS_ON_TOP_WARNING, "If you activate this option hot keys will be unable to activate \npopop window or tooltip window !!!\nHot keys will always activate main window.\n\nDo you wish to activate this option ?", nullptr) \
    X(158, MSG_SPLASH, "KX Dictionary ver. 5.0\n\nNew in this version:\n\t- hot keys that translate a word selected in any program\n\t- popup and tooltip windows\n\t- text translation\n\t- Freelang dictionaries\n\nSelect a word in any other program and press the hot keys: the word is copied from that program and its translation is shown in the main window, the popup window or the tooltip window. The default hot keys are Ctrl + Shift: press both keys together, then release them.\n\nFreelang dictionaries can be imported in three forms:\n\t- a single database (extension wb)\n\t- a compressed database (extension exe)\n\t- a whole Freelang directory\n\nShow this message at the next start?", nullptr) \
    X(159, MSG_SPLASH_CAPTION, "New version", nullptr) \
    X(160, MSG_SNAP_POPUP_WINDOW, "Move the popup window to the mouse pointer", nullptr) \
    X(161, MSG_SNAP_TOOLTIP_WINDOW, "Move the tooltip window to the mouse pointer", nullptr) \
    X(162, MSG_INTERFACE, "Interface", nullptr) \
    X(163, COMMENT_FONT_COLOR_DIALOG, "", "\n; font and colors dialogs") \
    X(164, MSG_EDIT_BOX, "Edit box", nullptr) \
    X(165, MSG_FONT, "Font", nullptr) \
    X(166, MSG_BACKGROUND, "Background", nullptr) \
    X(167, MSG_LIST_BOX, "List box", nullptr) \
    X(168, MSG_ODD_ROW, "Odd row", nullptr) \
    X(169, MSG_SELECTED_ROW, "Selected row", nullptr) \
    X(170, MSG_SELECTED_TEXT, "Selected text", nullptr) \
    X(171, MSG_RESET_FONT_COLOR, "Reset fonts and colors", nullptr) \
    X(172, MSG_USE_SYSTEM_COLORS, "Use system colors", nullptr) \
    X(173, MSG_WORD_FONT, "Word font", nullptr) \
    X(174, MSG_TRANSLATION_FONT, "Translation font", nullptr) \
    X(175, MSG_ACTIVE, "Active", nullptr) \
    X(176, MSG_INACTIVE_TEXT, "Inactive text", nullptr) \
    X(177, MSG_INACTIVE, "Inactive", nullptr) \
    X(178, MSG_USE_PATTERN, "Use pattern", nullptr) \
    X(179, COMMENT_SPEECH_DIALOG, "", "\n; speech dialog") \
    X(180, MSG_SPEECH_ENGINE, "Speech engine", nullptr) \
    X(181, MSG_ACTIVATE_SAPI4, "Use SAPI 4", nullptr) \
    X(182, MSG_ACTIVATE_SAPI5, "Use SAPI 5", nullptr) \
    X(183, MSG_ACTIVATE_ESPEAK, "Use ESPEAK", nullptr) \
    X(184, MSG_VOICE, "Voice", nullptr) \
    X(185, MSG_PITCH, "Pitch", nullptr) \
    X(186, MSG_SPEED, "Speed", nullptr) \
    X(187, MSG_VOLUME, "Volume", nullptr) \
    X(188, MSG_RESET, "Reset", nullptr) \
    X(189, COMMENT_INTERFACE_LANGUAGE_DIALOG, "", "\n; interface language dialog") \
    X(190, MSG_CHANGE_INTERFACE_LANGUAGE, "Change interface language", nullptr) \
    X(191, MSG_SELECT_INTERFACE_LANGUAGE, "Select interface language:", nullptr) \
    X(192, MSG_EDIT, "Edit", nullptr) \
    X(193, MSG_SELECT_LANGUAGE, "Select language", nullptr) \
    X(194, MSG_CANT_EDIT_INTERNAL_LANGUAGE, "Can't edit internal language", nullptr) \
    X(195, COMMENT_MESSAGEBOX_BUTTONS, "", "\n; message box buttons") \
    X(196, MESSAGE_BOX_ABORT, "Abort", nullptr) \
    X(197, MESSAGE_BOX_CANCEL, "Cancel", nullptr) \
    X(198, MESSAGE_BOX_IGNORE, "Ignore", nullptr) \
    X(199, MESSAGE_BOX_NO, "No", nullptr) \
    X(200, MESSAGE_BOX_OK, "OK", nullptr) \
    X(201, MESSAGE_BOX_YES, "Yes", nullptr) \
    X(202, MESSAGE_BOX_RETRY, "Retry", nullptr) \
    X(203, COMMENT_MESSAGES, "", "\n; other messages") \
    X(204, MSG_INSERT_TRANSLATION, "Insert translation", nullptr) \
    X(205, MSG_INSERT_ORIGINAL, "Insert original", nullptr) \
    X(206, MSG_SKIP_WORD, "Skip word", nullptr) \
    X(207, MSG_WORD, "word", nullptr) \
    X(208, MSG_OPEN_ORIGINAL_TEXT, "Open the text to translate", nullptr) \
    X(209, MSG_SAVE_ORIGINAL_TEXT, "Save the text to translate", nullptr) \
    X(210, MSG_SAVE_TRANSLATED_TEXT, "Save the translated text", nullptr) \
    X(211, MSG_INITIALIZE_SPEECH_ENGINE, "Starting the speech engine...", nullptr) \
    X(212, MSG_SAPI5_SPEED, "Rate", nullptr) \
    X(213, MSG_CANT_SET_SPEACH_VOICE, "Can't set speech voice !", nullptr) \
    X(214, MSG_CANT_ACTIVATE_SAPI4, "Can't activate SAPI4 engine !", nullptr) \
    X(215, MSG_CANT_ACTIVATE_SAPI5, "Can't activate SAPI5 engine !", nullptr) \
    X(216, MSG_CANT_ACTIVATE_ESPEAK, "Can't activate ESPEAK engine !", nullptr) \
    X(217, MSG_EXTENSION, "Extension", nullptr) \
    X(218, MSG_SETTINGS, "Settings", nullptr) \
    X(219, MSG_SEARCH, "Search", nullptr) \
    X(220, MSG_INTERFACE_LNG_CHANGED, "Interface language sucessfully changed.", nullptr) \
    X(221, MSG_SAVE_INTERNAL_LANGUAGE, "Save internal language", nullptr) \
    X(222, MSG_INTERNAL_LANGUAGE_SAVED, "Internal language sucessfully saved.", nullptr) \
    X(223, MSG_SAVING_ERROR, "Saving error !", nullptr) \
    X(224, MSG_CANT_LOAD_INTERFACE_LANGUAGE, "Can't load interface language !", nullptr) \
    X(225, MSG_LOADING_DEFAULT_LANGUAGE, "Loading internal interface language.", nullptr) \
    X(226, MSG_WITH_FILE, "with file", nullptr) \
    X(227, MSG_ADDED_TRANSLATIONS, "Added translations", nullptr) \
    X(228, MSG_PLEASE_LOAD_DICTIONARY_FIRST, "Please load a dictionary first !", nullptr) \
    X(229, MSG_CANT_LOAD_DICTIONARY, "Can't load dictionary !", nullptr) \
    X(230, MSG_NO_FONT_WARNING, "Can't load adequate font for dictionary charset.\nThere may be some problems with displaying of words.", nullptr) \
    X(231, MSG_WARNING, "Warning", nullptr) \
    X(232, MSG_CANT_CHANGE_WORD, "Can't change word !", nullptr) \
    X(233, MSG_SEARCHING_IDENTICAL_WORDS, "Searching for identical words...", nullptr) \
    X(234, MSG_SEARCHING_PALINDROME, "Searching for palindromes...", nullptr) \
    X(235, MSG_ERROR_DELETING_TRANSLATION, "Error deleting translation !", nullptr) \
    X(236, MSG_TRANSLATION_DELETED, "Translation deleted.", nullptr) \
    X(237, MSG_ERROR_DELETING_WORD, "Error deleting word !", nullptr) \
    X(238, MSG_QUESTION_DELETE_TRANSLATION, "Do you want to delete this translation ?", nullptr) \
    X(239, MSG_INFORMATION, "Information", nullptr) \
    X(240, MSG_WORD_DELETED, "Word deleted.", nullptr) \
    X(241, MSG_QUESTION_DELETE_WORD, "Do you want to delete this word ?", nullptr) \
    X(242, MSG_PLEASE_SELECT_WORD_TO_DELETE, "Please select the word to delete !", nullptr) \
    X(243, MSG_ERROR_ADDING_TRANSLATION, "Error adding translation !", nullptr) \
    X(244, MSG_ERROR_SWAP_TRANSLATION, "Error moving translation !", nullptr) \
    X(245, MSG_SAVE_CHANGED_DICTIONARY, "Dictionary was changed !\n\nSave changed dictionary ?", nullptr) \
    X(246, MSG_LOADING_ERROR, "Loading error !", nullptr) \
    X(247, MSG_DICTIONARY_NOT_LOADED, "Dictionary not loaded", nullptr) \
    X(248, MSG_NO_DICTIONARIES_IN_DATABASE, "There is no dictionaries in database!\nTry to import dictionary or create new one.", nullptr) \
    X(249, MSG_NEED_WORD_TO_ADD, "Please enter word to add:", nullptr) \
    X(250, MSG_QUESTION_ADD_TRANSLATION, "Do you want to add this translation ?", nullptr) \
    X(251, MSG_TRANSLATION_ADDED, "Translation added.", nullptr) \
    X(252, MSG_TRANSLATION_EXISTS, "Translation already exists !", nullptr) \
    X(253, MSG_VERSION, "Version", nullptr) \
    X(254, MSG_OK, "OK", nullptr) \
    X(255, MSG_CANCEL, "Cancel", nullptr) \
    X(256, MSG_ERROR, "Error", nullptr) \
    X(257, MSG_SELECT_DIRECTORY_OF, "Select the folder of", nullptr) \
    X(258, MSG_OPEN, "Open", nullptr) \
    X(259, DLG_DICTIONARY_INFO_CAPTION, "Dictionary information", nullptr) \
    X(260, MSG_APPLY, "Apply", nullptr) \
    X(261, MSG_PRIMARY_LIST, "Primary list", nullptr) \
    X(262, MSG_SECONDARY_LIST, "Secondary list", nullptr) \
    X(263, MSG_LANGUAGE, "Language", nullptr) \
    X(264, MSG_CHARSET, "Character set", nullptr) \
    X(265, MSG_LIST_NAME, "List name", nullptr) \
    X(266, MSG_DICTIONARY, "Dictionary", nullptr) \
    X(267, MSG_DESCRIPTION, "Description", nullptr) \
    X(268, MSG_INFO, "Info", nullptr) \
    X(269, MSG_AUTHOR, "Author", nullptr) \
    X(270, MSG_NAME, "Name", nullptr) \
    X(271, MSG_NEED_PRIMARY_LIST_NAME, "Please enter the name of the primary list !", nullptr) \
    X(272, MSG_NEED_SECONDARY_LIST_NAME, "Please enter the name of the secondary list !", nullptr) \
    X(273, MSG_NEED_DICTIONARY_NAME, "Please enter the name of the dictionary !", nullptr) \
    X(274, MSG_FATAL_ERROR, "Fatal error", nullptr) \
    X(275, MSG_CANTGETHANDLE_ERROR, "Can't get database handle !", nullptr) \
    X(276, MSG_LOADING, "Loading", nullptr) \
    X(277, MSG_DICTIONARY_LOADING_ERROR, "Dictionary loading error !", nullptr) \
    X(278, MSG_OVERWRITE_DICTIONARY_QUESTION, "Do you want to overwrite this dictionary ?", nullptr) \
    X(279, MSG_SAVE_DICTIONARY, "Save dictionary", nullptr) \
    X(280, MSG_SAVING, "Saving", nullptr) \
    X(281, MSG_DICTIONARY_SAVING_ERROR, "Dictionary saving error !", nullptr) \
    X(282, MSG_DICTIONARY_IMPORTED, "Dictionary successfully imported.", nullptr) \
    X(283, MSG_FILENAME_EXISTS, "A dictionary with this file name already exists:", nullptr) \
    X(284, MSG_INVALID_FREELANG_DIR, "This is not a Freelang directory !", nullptr) \
    X(285, MSG_LANGUAGE_LOCALE, "Language", nullptr) \
    X(286, MSG_CHECK_DATABASES_TO_IMPORT, "Check the databases to import", nullptr) \
    X(287, MSG_CHECK_FREELANG_DICTIONARY, "Check the Freelang dictionaries", nullptr) \
    X(288, MSG_SELECT_FREELANG_DICTIONARY, "Select a Freelang dictionary !", nullptr) \
    X(289, MSG_EXPORTING_DATABASE, "Export dictionary", nullptr) \
    X(290, MSG_IMPORTING_DATABASE, "Import dictionary", nullptr) \
    X(291, MSG_SELECT_DATABASE_FORMAT, "Select the dictionary format", nullptr) \
    X(292, MSG_SAVE, "Save", nullptr) \
    X(293, MSG_DICTIONARY_EXPORTED, "Dictionary successfully exported.", nullptr) \
    X(294, MSG_DICTIONARY_SAVED, "Dictionary successfully saved.", nullptr) \
    X(295, MSG_CANT_CREATE_NEW_DICTIONARY, "Can't create new dictionary !", nullptr) \
    X(296, MSG_CANT_SET_DICTIONARY_INFO, "Can't set dictionary information !", nullptr) \
    X(297, MSG_WORDS, "words", nullptr) \
    X(298, MSG_ABOUT, "&About", nullptr) \
    X(299, MSG_TRANSLATIONS, "Translations", nullptr) \
    X(300, MSG_SIZE, "Size", nullptr) \
    X(301, MSG_BYTES, "bytes", nullptr) \
    X(302, MSG_FILE, "File", nullptr) \
    X(303, MSG_CANT_GET_DICTIONARY_INFO, "Can't get dictionary information !", nullptr) \
    X(304, MSG_RESORTING_ERROR, "Error sorting the list !", nullptr) \
    X(305, MSG_RESORTING, "Sorting", nullptr) \
    X(306, MSG_CREATE_NEW_DICTIONARY, "Create new dictionary", nullptr) \
    X(307, MSG_CREATE, "Create", nullptr) \
    X(308, MSG_CHANGE, "Change", nullptr) \
    X(309, MSG_IMPORT, "Import", nullptr) \
    X(310, MSG_NUMBER_OF_WORDS, "Number of words", nullptr) \
    X(311, MSG_FILENAME, "File name", nullptr) \
    X(312, MSG_SELECT_DICTIONARY, "Select a dictionary !", nullptr) \
    X(313, MSG_CHANGE_DICTIONARY, "Change dictionary", nullptr) \
    X(314, MSG_UPDATE_DICTIONARY, "Update dictionary", nullptr) \
    X(315, MSG_UPDATE, "Update", nullptr) \
    X(316, MSG_SELECT_DICTIONARY_TO_LOAD, "Select the dictionary to load:", nullptr) \
    X(317, MSG_SELECT_DICTIONARY_TO_UPDATE, "Select the dictionary to update from:", nullptr) \
    X(318, MSG_IMPORT_FREELANG, "Import Freelang dictionaries", nullptr) \
    X(319, MSG_UPDATE_WITH_FREELANG, "Update from a Freelang dictionary", nullptr) \
    X(320, MSG_SELECT_DICTIONARY_TO_IMPORT, "Select the dictionaries to import:", nullptr) \
    X(321, MSG_DICTIONARY_INFO, "Dictionary information", nullptr) \
    X(322, MSG_EXPORT, "Export", nullptr) \
    X(323, MSG_UPDATING, "Updating", nullptr) \
    X(324, MSG_DO_YOU_WANT_TO_UPDATE, "Do you want to update the dictionary", nullptr) \
    X(325, MSG_UPDATE_DICTIONARY_QUESTION, "Update dictionary ?", nullptr) \
    X(326, MSG_DICTIONARY_UPDATING_ERROR, "Dictionary updating error !", nullptr) \
    X(327, MSG_DICTIONARY_UPDATED, "Dictionary successfully updated.", nullptr) \
    X(328, MSG_MEMORY_ALLOC_ERROR, "Memory allocation error !", nullptr) \
    X(329, MSG_DELETE, "Delete", nullptr) \
    X(330, MSG_DELETE_DICTIONARY_QUESTION, "Delete dictionary ?", nullptr) \
    X(331, MSG_DO_YOU_WANT_TO_DELETE_DICTIONARY, "Do you want to delete this dictionary ?", nullptr) \
    X(332, MSG_CANT_DELETE_FILE, "Can't delete file !", nullptr) \
    X(333, END_OF_TABLE, "**********", nullptr) \
    X(334, COMMENT_WORD_FORMS, "", "\n; word forms") \
    X(335, MSG_FORM_OF, "%s: form of %s", nullptr) \
    X(336, MSG_ALSO_FORM_OF, "%s: a form of %s", nullptr) \
    X(337, MSG_DID_YOU_MEAN, "Did you mean", nullptr) \
    X(338, MSG_NOT_FOUND_WORD, "%s: not found", nullptr) \
    X(339, MSG_WORD_FORMS, "Word forms", nullptr) \
    X(340, MSG_USE_WORD_FORMS, "Look up base words and suggest near words", nullptr) \
    X(341, MSG_SPELLING_DICTIONARIES, "Installed spelling dictionaries:", nullptr) \
    X(342, MSG_NO_SPELLING_DICTIONARIES, "none (rules and suggestions only)", nullptr) \
    X(343, MENU_HISTORY, "&History\tCtrl+H", nullptr) \
    X(344, MENU_FAVOURITES, "Fa&vourites\tCtrl+B", nullptr) \
    X(345, MSG_HISTORY, "History", nullptr) \
    X(346, MSG_FAVOURITES, "Favourites", nullptr) \
    X(347, MSG_FILTER, "Filter:", nullptr) \
    X(348, MSG_REMOVE, "Remove", nullptr) \
    X(349, MSG_CLEAR_ALL, "Clear all", nullptr) \
    X(350, MSG_CLEAR_HISTORY_QUESTION, "Remove every word from the history ?", nullptr) \
    X(351, MSG_CLEAR_FAVOURITES_QUESTION, "Remove every word from the favourites ?", nullptr) \
    X(352, MSG_EXPORT_FLASHCARDS, "Export for flashcards...", nullptr) \
    X(353, MSG_EXPORT_CSV, "Export as CSV...", nullptr) \
    X(354, TOOLTIP_FAVOURITE, "Add the word to the favourites, or remove it", nullptr) \
    X(355, MSG_HISTORY_SIZE, "Words kept in the history (0 = none):", nullptr) \
    X(356, MSG_WORD_LIST_NOT_READ, "This file can't be read, and is left as it is. The words of this session are kept until the program ends.", nullptr) \
    X(357, MSG_WORD_LIST_DAMAGED, "Damaged records of this file were left out:", nullptr) \
    X(358, MSG_WORD_LIST_NOT_WRITTEN, "Can't write this file:", nullptr) \
    X(359, MSG_FAVOURITES_EXPORTED, "Favourites exported.", nullptr) \
    X(360, MSG_TAB_TEXT_FILTER, "Text for flashcards", nullptr) \
    X(361, MSG_CSV_FILTER, "CSV file", nullptr) \
    X(362, MSG_COUNT, "Count", nullptr) \
    X(363, MSG_DATE, "Date", nullptr) \
    X(364, MSG_WORD_COLUMN, "Word", nullptr) \
    X(365, MSG_WORDS_LEFT_OUT, "Words the format can't hold, left out", nullptr) \
    X(366, MSG_TRANSLATIONS_READ_BACK_OTHERWISE, "Words whose translations will read back otherwise", nullptr) \
    X(367, MSG_PAIRS_LEFT_OUT, "Translation pairs left out", nullptr) \
    X(368, MSG_FILE_SAVED_BY_OTHER, "The dictionary file was saved by another program after it was loaded here, and your changes can't be added to it safely.", nullptr) \
    X(369, MSG_CHANGED_BY_BOTH, "Changed by both:", nullptr) \
    X(370, MSG_FILE_SAVED_BY_OTHER_CHOICES, "Yes: save your dictionary as another file; this file stays as the other program saved it.\nNo: overwrite this file; the other program's changes are lost.\nCancel: don't save now.", nullptr) \
    X(371, MSG_FILE_SAVED_BY_OTHER_CAPTION, "File changed by another program", nullptr) \
    X(372, MSG_DICTIONARY_SAVED_MERGED, "Dictionary saved; changes saved meanwhile by another program were kept.", nullptr) \
    X(373, MSG_FILE_CHANGED_ON_DISK, "File changed on disk", nullptr)
// clang-format on
