// The language string keys, in the order in which they are loaded.
#pragma once

// X(key) for each of the 91 keys. "str_restore" and "str_Restore" are two keys.
#define Z4_LANGUAGE_KEYS(X)                                                                   \
  X(str_title) X(str_restore) X(str_config) X(str_config_msg1) X(str_version)                 \
  X(str_settingdoc) X(str_docname) X(str_autopath) X(str_autoswitch) X(str_import)            \
  X(str_export) X(str_profile_title) X(str_buttondefault) X(str_buttonedit) X(str_singlecomb) \
  X(str_macro) X(str_base) X(str_media) X(str_mouse) X(str_OK) X(str_Cancel) X(str_Restore)   \
  X(str_singlekey) X(str_combkey) X(str_input_key) X(str_comblist) X(str_startrecord)         \
  X(str_endrecord) X(str_new) X(str_del) X(str_baseinfo) X(str_mouseinfo) X(str_macrolist)    \
  X(str_editlist) X(str_looptimes) X(str_autodelay) X(str_modifydelay) X(str_newmacro)        \
  X(str_mouse_left) X(str_mouse_right) X(str_mouse_middle) X(str_mouse_dbclick)               \
  X(str_mouse_pre) X(str_mouse_next) X(str_swap) X(str_close) X(str_lock) X(str_run)          \
  X(str_show) X(str_cut) X(str_copy) X(str_past) X(str_all) X(str_find) X(str_print)          \
  X(str_save) X(str_undo) X(str_media_info1) X(str_media_info2) X(str_players) X(str_play)    \
  X(str_stop) X(str_pre) X(str_next) X(str_voldown) X(str_volup) X(str_mute) X(str_back)      \
  X(str_forword) X(str_refresh) X(str_b_stop) X(str_search) X(str_favorites) X(str_home)      \
  X(str_mail) X(str_explorer) X(str_cal) X(str_exit) X(str_configuration) X(str_profile)      \
  X(str_comb) X(str_tip) X(str_msg1) X(str_msg4) X(str_msg5) X(str_restore_title)             \
  X(str_rate_title) X(str_rate_msg) X(str_enter_clup) X(str_update_tip) X(str_update_msg)
