#include "text/text_keys.h"

#include <algorithm>
#include <array>

namespace korvel {

namespace {

#define KORVEL_TEXT(key, text)   \
    TextKeyInfo {                \
        TextKey::key, #key, text \
    }

constexpr std::array<TextKeyInfo, kTextKeyCount> kTable{{
    KORVEL_TEXT(MACRO_NEW_PREFIX, u"Macro"),
    KORVEL_TEXT(MACRO_ERR_MAX, u"The maximum number of macro: %d   "),
    KORVEL_TEXT(MACRO_ERR_SAME, u"Same macro name!   "),
    KORVEL_TEXT(MACRO_ERR_NAME_SYSTEM, u"This macro is used in the system! "),
    KORVEL_TEXT(MACRO_DEFAULT_NAME, u"Empty Macro"),
    KORVEL_TEXT(MACRO_ERR_RECORD, u"Please stop the macro record first! "),
    KORVEL_TEXT(MACRO_KEYS_TISHI, u"hello world"),
    KORVEL_TEXT(MACRO_ACTION_TISHI, u"hello world"),
    KORVEL_TEXT(MACRO_DELAY_MS, u"hello world"),
    KORVEL_TEXT(MACRO_ACTION_CLEAR_CONFIRM, u"Really need to clear the macro action? "),
    KORVEL_TEXT(MACRO_ACTION_ERR_MODIFY, u"You can not edit, use the macro record button. "),
    KORVEL_TEXT(MACRO_ACTION_ERR_DELAY_MAX, u"Maximum delay time is: %d(ms) "),
    KORVEL_TEXT(MACRO_ACTION_RECORD, u"Record"),
    KORVEL_TEXT(MACRO_ACTION_STOP_RECORD, u"Stop Record"),
    KORVEL_TEXT(
        MACRO_DELETE_CONFIRM_OF_KEYS,
        u"Detect some key points to set this macro, \n  really need to remove this macro?  "),
    KORVEL_TEXT(APPLY_PROMPT, u"No Use!"),
    KORVEL_TEXT(EXTRA_PROFILE_SPACE_TIGHT,
                u"shortage of hardware space, cancelled the macro name of storage."),
    KORVEL_TEXT(UNKNOWN_KEY, u"Unknown Key: %03x"),
    KORVEL_TEXT(MEDIA_PALYER_1, u"Hello world"),
    KORVEL_TEXT(MEDIA_PALY_PAUSE_2, u"Hello world"),
    KORVEL_TEXT(MEDIA_STOP_PALY_3, u"Hello world"),
    KORVEL_TEXT(MEDIA_PREV_TRACK_4, u"Hello world"),
    KORVEL_TEXT(MEDIA_Next_TRACK_5, u"Hello world"),
    KORVEL_TEXT(MEDIA_V_LOW_6, u"Hello world"),
    KORVEL_TEXT(MEDIA_V_ADD_7, u"Hello world"),
    KORVEL_TEXT(MEDIA_MUTE_8, u"Hello world"),
    KORVEL_TEXT(MEDIA_WWW_HOME_9, u"Hello world"),
    KORVEL_TEXT(MEDIA_WWW_REFRESH_10, u"Hello world"),
    KORVEL_TEXT(MEDIA_WWW_STOP_11, u"Hello world"),
    KORVEL_TEXT(MEDIA_WWW_BACK_12, u"Hello world"),
    KORVEL_TEXT(MEDIA_WWW_FORWARD_13, u"Hello world"),
    KORVEL_TEXT(MEDIA_WWW_FAVORITE_14, u"Hello world"),
    KORVEL_TEXT(MEDIA_WWW_SEARCH_15, u"Hello world"),
    KORVEL_TEXT(MEDIA_MY_PC_16, u"Hello world"),
    KORVEL_TEXT(MEDIA_CALC_17, u"Hello world"),
    KORVEL_TEXT(MEDIA_MAIL_18, u"Hello world"),
    KORVEL_TEXT(FUNC_KEY_DESC1, u"Open"),
    KORVEL_TEXT(FUNC_KEY_DESC2, u"New"),
    KORVEL_TEXT(FUNC_KEY_DESC3, u"Undo"),
    KORVEL_TEXT(FUNC_KEY_DESC4, u"Save"),
    KORVEL_TEXT(FUNC_KEY_DESC5, u"Copy"),
    KORVEL_TEXT(FUNC_KEY_DESC6, u"Cut"),
    KORVEL_TEXT(FUNC_KEY_DESC7, u"Paste"),
    KORVEL_TEXT(FUNC_KEY_DESC8, u"Find"),
    KORVEL_TEXT(FUNC_KEY_DESC9, u"Select All"),
    KORVEL_TEXT(FUNC_KEY_DESC10, u"Zoom-"),
    KORVEL_TEXT(FUNC_KEY_DESC11, u"Zoom+"),
    KORVEL_TEXT(KEY_PROMPT_SET, u"Keys, Set: "),
    KORVEL_TEXT(KEY_PROMPT_SINGLE, u"Key("),
    KORVEL_TEXT(KEY_PROMPT_MACRO, u"Macro("),
    KORVEL_TEXT(KEY_PROMPT_MEDIA, u"Media("),
    KORVEL_TEXT(KEY_PROMPT_FUNCTION, u"Function("),
    KORVEL_TEXT(DEFAULT_PROFILE_NAME, u"<Default Profile>"),
    KORVEL_TEXT(PROFILE_SELECT_PROMPT, u"Whether to save the profile settings made?"),
    KORVEL_TEXT(PROFILE_SEELCT_PROMPT2,
                u"When fast switch scene mode, you must first close the editor dialog box."),
    KORVEL_TEXT(PROFILE_FORMAT_ERROR, u"wrong file format, revert to the default values: \n  %s"),
    KORVEL_TEXT(PROFILE_NEW, u"\\The new contextual  mode"),
    KORVEL_TEXT(PROFILE_TIP, u"The current contextual  mode: "),
    KORVEL_TEXT(KEYBOARD_TRAY_DESC, u"Single-handed keyboard Driver "),
    KORVEL_TEXT(MAIN_CAPTION, u"Gaming Keyboard Settings"),
    KORVEL_TEXT(MAIN_HELP_PROMPT, u"Help"),
    KORVEL_TEXT(MAIN_MINIMIZE_PROMPT, u"Minimize"),
    KORVEL_TEXT(MAIN_MENU_PROMPT, u"Menu"),
    KORVEL_TEXT(MAIN_CLOSE_PROMPT, u"Close"),
    KORVEL_TEXT(MAIN_BUTTON_VELMARO_VER, u""),
    KORVEL_TEXT(MAIN_PROMPT_DEFAULT, u"Do you want to restore the default settings?"),
    KORVEL_TEXT(MAIN_PROMPT_INPORT, u"File format error, import failed! "),
    KORVEL_TEXT(FILE_WRITE_FAILED, u"The file could not be written; it is as it was before:\n  %s"),
    KORVEL_TEXT(MAIN_DEFAULT_MATRIX_PROMPT, u"Reads the default keyboard layout failure"),
    KORVEL_TEXT(MAIN_NO_DEVICE_PROMPT,
                u"Device is not detected\uFF0Cthe key settings can not be displayed! "),
    KORVEL_TEXT(MAIN_UPDATE_ERROR_TEXT, u"请选择正确的更新文件! "),
    KORVEL_TEXT(MAIN_BOOT_ERROR_TEXT, u"无法进入Boot模式! "),
    KORVEL_TEXT(MAIN_SHELL_ERROR_TEXT, u"无法执行更新文件! "),
    KORVEL_TEXT(MAIN_UPDATE_BACKUP_OK, u"备份成功!"),
    KORVEL_TEXT(MAIN_UPDATE_BACKUP_NG, u"备份失败,请重新备份!"),
}};

#undef KORVEL_TEXT

constexpr bool TableFollowsEnumOrder() {
    for (std::size_t i = 0; i < kTable.size(); ++i) {
        if (static_cast<std::size_t>(kTable[i].key) != i) {
            return false;
        }
    }
    return true;
}
static_assert(TableFollowsEnumOrder(), "the text table must list every key once, in enum order");

constexpr std::array kMediaKeys{
    TextKey::MEDIA_PALYER_1,       TextKey::MEDIA_PALY_PAUSE_2,    TextKey::MEDIA_STOP_PALY_3,
    TextKey::MEDIA_PREV_TRACK_4,   TextKey::MEDIA_Next_TRACK_5,    TextKey::MEDIA_V_LOW_6,
    TextKey::MEDIA_V_ADD_7,        TextKey::MEDIA_MUTE_8,          TextKey::MEDIA_WWW_HOME_9,
    TextKey::MEDIA_WWW_REFRESH_10, TextKey::MEDIA_WWW_STOP_11,     TextKey::MEDIA_WWW_BACK_12,
    TextKey::MEDIA_WWW_FORWARD_13, TextKey::MEDIA_WWW_FAVORITE_14, TextKey::MEDIA_WWW_SEARCH_15,
    TextKey::MEDIA_MY_PC_16,       TextKey::MEDIA_CALC_17,         TextKey::MEDIA_MAIL_18,
};

constexpr std::array kFunctionKeys{
    TextKey::FUNC_KEY_DESC1,  TextKey::FUNC_KEY_DESC2,  TextKey::FUNC_KEY_DESC3,
    TextKey::FUNC_KEY_DESC4,  TextKey::FUNC_KEY_DESC5,  TextKey::FUNC_KEY_DESC6,
    TextKey::FUNC_KEY_DESC7,  TextKey::FUNC_KEY_DESC8,  TextKey::FUNC_KEY_DESC9,
    TextKey::FUNC_KEY_DESC10, TextKey::FUNC_KEY_DESC11,
};

constexpr std::string_view kWindowKeys[] = {
    // main window captions and tooltips
    "PROFILE_1",
    "PROFILE_2",
    "PROFILE_3",
    "PROFILE_MACRO",
    "PROFILE_DEFAULT",
    "PROFILE_OK",
    "PROFILE_CANCLE",
    "PROFILE_APPLY",
    "MAIN_MINIMIZE_PROMPT",
    "MAIN_MENU_PROMPT",
    "MAIN_CLOSE_PROMPT",
    // main window menu
    "MENU_1",
    "MENU_2",
    "MENU_3",
    "MENU_4",
    "MENU_LANGUAGE",
    "LANGUAGE_ENGLISH",
    "LANGUAGE_CHINESE",
    // main window messages and the colour pickers' popup
    "PROFILE_SWITCH_FAILED",
    "MAIN_PROMPT_DEFAULT_FAILED",
    "MAIN_READING",
    "COLOR_OTHER",
    "NO_TRAY_MINIMISED",
    "KEY_NAME_SET",
    "KEY_NAME_OWN",
    // names that assistive technology reads for controls that show only a picture
    "A11Y_REPORT_RATE",
    "A11Y_FLIP",
    "A11Y_MACRO_ADD",
    "A11Y_MACRO_DELETE",
    "A11Y_EFFECT",
    "A11Y_BRIGHTNESS",
    "A11Y_SPEED",
    "A11Y_DIRECTION_1",
    "A11Y_DIRECTION_2",
    "A11Y_COLOR",
    "A11Y_MULTICOLOR",
    "A11Y_RED",
    "A11Y_YELLOW",
    "A11Y_GREEN",
    "A11Y_BLUE",
    "A11Y_PAINT_COLOR",
    "A11Y_BASE_COLOR",
    "A11Y_TOOL_PAINT",
    "A11Y_TOOL_BASE",
    "A11Y_PRESET",
    // notification-area menu
    "MENU_11",
    "MENU_22",
    "MENU_33",
    "TRAY_LIGHTING_OFF",
    "TRAY_LIGHTING_ON",
    "MENU_AWAY",
    "AWAY_UNCHANGED",
    "AWAY_OFF",
    "AWAY_DIM",
    "RULES_MENU",
    "RULES_TITLE",
    "RULES_HEADING",
    "RULES_WAYLAND",
    "RULES_PROGRAM",
    "RULES_PROFILE",
    "RULES_ADD",
    "RULES_REMOVE",
    "RULES_UP",
    "RULES_DOWN",
    "RULES_OTHERWISE",
    "RULES_LEAVE",
    "RULES_OTHER_PROGRAM",
    "RULES_WRITE_FAILED",
    // about box
    "GUANYU_JIESHAO",
    "GUANYU_BANQUAN",
    // composite editor and its macro page
    "COMPOSITE_PROMPT_CLEAR",
    "COMPOSITE_PROMPT_OSK",
    "COMPOSITE_MACRO_OVER",
    "MACRO_CYCLES",
    "RECORD_DELAY",
    "SINGLE_KEY",
    "MACRO_SETTING",
    "MULTI_MEDIA",
    "FUNCTION_KEY",
    "A_TOP",
    "A_UP",
    "A_DOWN",
    "A_BOTTOM",
    "A_RECORD",
    "A_DELETE",
    "A_CLEAR",
    "MACRO_OK",
    "MACRO_CANCLE",
    "SINGLE_STATIC",
    "MACRO_NAME_SETTING",
    "KEY_SETTING_TISHI",
    "MACRO_EDIT_TISHI",
    "MEDIA_EDIT_TISHI",
    "FUNCTION_TISHI",
    // a download read back, and what the window says of the G keys
    "MAIN_VERIFY_FAILED",
    "G_KEY_PLAYED",
    "G_KEY_NOT_PLAYED",
    // the window's backups: the automatic ones and restoring one
    "MENU_RESTORE_BACKUP",
    "BACKUP_LIST_TITLE",
    "BACKUP_LIST_HEADING",
    "BACKUP_LIST_EMPTY",
    "BACKUP_RESTORE",
    "BACKUP_OTHER_FILE",
    "BACKUP_FILE_FILTER",
    "BACKUP_BEFORE_IMPORT",
    "BACKUP_BEFORE_PROFILE_IMPORT",
    "BACKUP_BEFORE_RESTORE_DEFAULTS",
    "BACKUP_BEFORE_FIRMWARE_UPDATE",
    "BACKUP_BEFORE_RESTORE",
    "BACKUP_CONFIRM",
    "BACKUP_UNUSABLE",
    "BACKUP_RESTORED",
    "BACKUP_RESTORE_FAILED",
    "BACKUP_NOT_KEPT",
    // undo and redo: the menu items and what each step is named
    "EDIT_UNDO",
    "EDIT_REDO",
    "EDIT_UNDO_NONE",
    "EDIT_REDO_NONE",
    "EDIT_OF_KEY",
    "EDIT_OF_KEYS",
    "EDIT_OF_MACROS",
    "EDIT_OF_LIGHTING",
    "EDIT_OF_KEY_COLORS",
    "EDIT_OF_EFFECT",
    "EDIT_OF_BRIGHTNESS",
    "EDIT_OF_SPEED",
    "EDIT_OF_DIRECTION",
    "EDIT_OF_COLOR",
    "EDIT_OF_MULTICOLOR",
    "EDIT_OF_PAINT_COLOR",
    "EDIT_OF_TOOL",
    "EDIT_OF_EFFECT17",
    "EDIT_OF_REPORT_RATE",
};

char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

}  // namespace

std::span<const TextKeyInfo> TextKeyTable() {
    return kTable;
}

const TextKeyInfo& InfoOf(TextKey key) {
    return kTable[static_cast<std::size_t>(key)];
}

std::optional<TextKey> FindTextKey(std::string_view name) {
    const auto match = std::find_if(kTable.begin(), kTable.end(), [name](const TextKeyInfo& info) {
        return info.name.size() == name.size() &&
               std::equal(name.begin(), name.end(), info.name.begin(),
                          [](char a, char b) { return FoldAscii(a) == FoldAscii(b); });
    });
    if (match == kTable.end()) {
        return std::nullopt;
    }
    return match->key;
}

std::span<const TextKey> MediaTextKeys() {
    return kMediaKeys;
}
std::span<const TextKey> FunctionKeyTextKeys() {
    return kFunctionKeys;
}
std::span<const std::string_view> WindowTextKeys() {
    return kWindowKeys;
}

}  // namespace korvel
