#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace korvel {

// The keys of the text table, in the order the loader reads them. Each names one text of the
// language file; the enumerator is spelled as the key is (misspellings included), so that code
// and file can be searched for the same word.
enum class TextKey : std::uint8_t {
    // Macro editor, composite editor, download
    MACRO_NEW_PREFIX,
    MACRO_ERR_MAX,
    MACRO_ERR_SAME,
    MACRO_ERR_NAME_SYSTEM,
    MACRO_DEFAULT_NAME,
    MACRO_ERR_RECORD,
    MACRO_KEYS_TISHI,
    MACRO_ACTION_TISHI,
    MACRO_DELAY_MS,
    MACRO_ACTION_CLEAR_CONFIRM,
    MACRO_ACTION_ERR_MODIFY,
    MACRO_ACTION_ERR_DELAY_MAX,
    MACRO_ACTION_RECORD,
    MACRO_ACTION_STOP_RECORD,
    MACRO_DELETE_CONFIRM_OF_KEYS,
    APPLY_PROMPT,
    EXTRA_PROFILE_SPACE_TIGHT,
    // Key names and key tips
    UNKNOWN_KEY,
    MEDIA_PALYER_1,
    MEDIA_PALY_PAUSE_2,
    MEDIA_STOP_PALY_3,
    MEDIA_PREV_TRACK_4,
    MEDIA_Next_TRACK_5,
    MEDIA_V_LOW_6,
    MEDIA_V_ADD_7,
    MEDIA_MUTE_8,
    MEDIA_WWW_HOME_9,
    MEDIA_WWW_REFRESH_10,
    MEDIA_WWW_STOP_11,
    MEDIA_WWW_BACK_12,
    MEDIA_WWW_FORWARD_13,
    MEDIA_WWW_FAVORITE_14,
    MEDIA_WWW_SEARCH_15,
    MEDIA_MY_PC_16,
    MEDIA_CALC_17,
    MEDIA_MAIL_18,
    FUNC_KEY_DESC1,
    FUNC_KEY_DESC2,
    FUNC_KEY_DESC3,
    FUNC_KEY_DESC4,
    FUNC_KEY_DESC5,
    FUNC_KEY_DESC6,
    FUNC_KEY_DESC7,
    FUNC_KEY_DESC8,
    FUNC_KEY_DESC9,
    FUNC_KEY_DESC10,
    FUNC_KEY_DESC11,
    KEY_PROMPT_SET,
    KEY_PROMPT_SINGLE,
    KEY_PROMPT_MACRO,
    KEY_PROMPT_MEDIA,
    KEY_PROMPT_FUNCTION,
    // Profiles
    DEFAULT_PROFILE_NAME,
    PROFILE_SELECT_PROMPT,
    PROFILE_SEELCT_PROMPT2,
    PROFILE_FORMAT_ERROR,
    PROFILE_NEW,
    PROFILE_TIP,
    // Main window, firmware update, keyboard arrival
    KEYBOARD_TRAY_DESC,
    MAIN_CAPTION,
    MAIN_HELP_PROMPT,
    MAIN_MINIMIZE_PROMPT,
    MAIN_MENU_PROMPT,
    MAIN_CLOSE_PROMPT,
    MAIN_BUTTON_VELMARO_VER,
    MAIN_PROMPT_DEFAULT,
    MAIN_PROMPT_INPORT,
    FILE_WRITE_FAILED,
    MAIN_DEFAULT_MATRIX_PROMPT,
    MAIN_NO_DEVICE_PROMPT,
    MAIN_UPDATE_ERROR_TEXT,
    MAIN_BOOT_ERROR_TEXT,
    MAIN_SHELL_ERROR_TEXT,
    MAIN_UPDATE_BACKUP_OK,
    MAIN_UPDATE_BACKUP_NG,
};

inline constexpr std::size_t kTextKeyCount =
    static_cast<std::size_t>(TextKey::MAIN_UPDATE_BACKUP_NG) + 1;

// Room of every text of the table in UTF-16 units, terminating NUL included: a text holds at most
// 107 units and a longer one is cut.
inline constexpr std::size_t kTextCapacity = 108;

struct TextKeyInfo {
    TextKey key;
    std::string_view name;        // the key in the language file
    std::u16string_view builtIn;  // the text until the language file has been read
};

// Every key in TextKey order.
std::span<const TextKeyInfo> TextKeyTable();
const TextKeyInfo& InfoOf(TextKey key);
std::optional<TextKey> FindTextKey(std::string_view name);  // exact spelling, ignoring ASCII case

// The 18 media names and the function-key names, in index order.
std::span<const TextKey> MediaTextKeys();
std::span<const TextKey> FunctionKeyTextKeys();

// Keys that windows read from the language file themselves, each when it fills its controls,
// rather than through the table.
std::span<const std::string_view> WindowTextKeys();

// The message of a download refused for lack of macro space. It has no key: it is the same in
// both languages and never read from the file.
inline constexpr std::u16string_view kMacroSpaceMessage =
    u"Macro space exceeds the hardware space.\r\n Please reduce the number of macros or macro "
    u"action "
    u"number\uFF0Cand then download.";

}  // namespace korvel
