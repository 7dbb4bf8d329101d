#pragma once

#include <QRgb>
#include <array>

// Every key of the UI configuration document. A key is a path below the root element; single
// values sit in its "VALUE" attribute, lists are its child elements.

// A colour key and the colour used when the document lacks it or the value is not "#RRGGBB".
struct ColorKey {
    const char* path;
    QRgb fallback;
};

namespace UIColor {
inline constexpr ColorKey LocalTreebgClr{"UICOLOR/LocalTreebgClr", 0xFFFFFF};
inline constexpr ColorKey LocalTreetxtClr{"UICOLOR/LocalTreetxtClr", 0x000000};
inline constexpr ColorKey LocalHeaderbgClr{"UICOLOR/LocalHeaderbgClr", 0xEFEFEF};
inline constexpr ColorKey LocalHeaderTxtClr{"UICOLOR/LocalHeaderTxtClr", 0x000000};
inline constexpr ColorKey LocalListtxtClr{"UICOLOR/LocalListtxtClr", 0x000000};
inline constexpr ColorKey ServerTreebgClr{"UICOLOR/ServerTreebgClr", 0xFFFFFF};
inline constexpr ColorKey ServerTreetxtClr{"UICOLOR/ServerTreetxtClr", 0x000000};
inline constexpr ColorKey ServerHeaderbgClr{"UICOLOR/ServerHeaderbgClr", 0xEFEFEF};
inline constexpr ColorKey ServerHeaderTxtClr{"UICOLOR/ServerHeaderTxtClr", 0x000000};
inline constexpr ColorKey ServerListRemotetxtClr{"UICOLOR/ServerListRemotetxtClr", 0x000000};
inline constexpr ColorKey ServerListRemoteSelbarClr{"UICOLOR/ServerListRemoteSelbarClr", 0x08246B};
inline constexpr ColorKey ServerListLocaltxtClr{"UICOLOR/ServerListLocaltxtClr", 0x3333CC};
inline constexpr ColorKey ServerListLocalSelbarClr{"UICOLOR/ServerListLocalSelbarClr", 0x3333CC};
// These two default to the list's current background (or text background): the pane passes
// it to UIConfig::Color(key, fallback).
inline constexpr const char* LocalListbgClr = "UICOLOR/LocalListbgClr";
inline constexpr const char* ServerListbgClr = "UICOLOR/ServerListbgClr";
} // namespace UIColor

namespace UIKey {
inline constexpr const char* NewFolderName = "NEWFOLDERNAME";
inline constexpr const char* DateFormat = "DATEFORMAT"; // strftime notation
inline constexpr const char* CommSelFolderWin = "COMMSELFOLDERWIN";
inline constexpr const char* LocalListColumns = "LISTCOLUMNTITLE/LOCALLIST";
inline constexpr const char* ServerListColumns = "LISTCOLUMNTITLE/SERVERLIST";
inline constexpr const char* PopupMenu = "POPUPMENU";
} // namespace UIKey

// The popup menu sections: a tree's menu is one section; a list's menu is the section of its
// selection followed by its COMMON section.
namespace UIMenu {
inline constexpr const char* ServerTree = "POPUPMENU/SERVERTREE";
inline constexpr const char* LocalTree = "POPUPMENU/LOCALTREE";
inline constexpr const char* ServerList = "POPUPMENU/SERVERLIST/";
inline constexpr const char* LocalList = "POPUPMENU/LOCALLIST/";
inline constexpr const char* NoSelect = "NOSELECT";
inline constexpr const char* OneSelect = "ONESELECT";
inline constexpr const char* MoreSelect = "MORESELECT";
inline constexpr const char* Common = "COMMON";
} // namespace UIMenu

// Dialog sections: a dialog reads "<section><label>", attribute "VALUE". Labels "W_..." are
// labels and buttons; "S_...", "SL_..." and "FailureMsg" are messages to fill with FillMessage.
namespace UIDialog {
inline constexpr const char* DownOpenWin = "DOWNOPEN_WIN/";
inline constexpr const char* DownloadWin = "DOWNLOAD_WIN/";
inline constexpr const char* UploadWin = "UPLOAD_WIN/";
inline constexpr const char* UpOverwriteMsgWin = "UP_OVERWRITEMSG_WIN/";
inline constexpr const char* DownOverwriteMsgWin = "DOWN_OVERWRITEMSG_WIN/";
inline constexpr const char* PostWin = "POST_WIN/";
inline constexpr const char* CreateListDataWin = "CREATE_LISTDATA_WIN/";

inline constexpr std::array<const char*, 7> DownOpenWinLabels{
    "WindowsTitle", "W_FILE", "W_SIZE", "W_DOWNSIZE", "W_SPEED", "W_LEFTTIME", "W_CANCELBUT"};
// "SL_RetryMsg" is an addition: the state of a row resumed after a network cut.
inline constexpr std::array<const char*, 26> DownloadWinLabels{
    "WindowsTitle",  "W_DownTxt",      "W_Time",          "W_Count",           "W_Speed",
    "W_CancelBut",   "W_AllCancelBut", "W_COLTITLE_NAME", "W_COLTITLE_STATUS", "W_COLTITLE_SIZE",
    "WC_TITLE",      "W_CountTxt",     "S_ConnentMsg",    "S_CreateFolderMsg", "S_DownloadMsg",
    "S_FileNotMsg",  "S_FileSaved",    "SL_Wait",         "SL_SuccessMsg",     "SL_SkipMsg",
    "SL_FailureMsg", "SL_FileChkMsg",  "SL_DownloadMsg",  "SL_CancelMsg",      "FailureMsg",
    "SL_RetryMsg"};
inline constexpr std::array<const char*, 14> UploadWinLabels{
    "WindowsTitle", "W_UpTxt",         "W_Speed",           "W_Time",          "W_Count",
    "W_CancelBut",  "W_COLTITLE_NAME", "W_COLTITLE_STATUS", "W_COLTITLE_SIZE", "W_CountTxt",
    "S_ConnentMsg", "S_UploadMsg",     "S_FileSaved",       "SL_Wait"};
inline constexpr std::array<const char*, 9> UpOverwriteMsgWinLabels{
    "WindowsTitle", "W_FilenameTxt", "W_Comment", "W_OldFileTxt", "W_NewFileTxt",
    "W_YesBut",     "W_AllYesBut",   "W_NoBut",   "W_CancelBut"};
inline constexpr std::array<const char*, 9> DownOverwriteMsgWinLabels{
    "WindowsTitle", "MainTxt",   "FileNameTxt", "OptionTxt", "Radio1Txt",
    "Radio2Txt",    "Radio3Txt", "CheckTxt",    "OkButTxt"};
inline constexpr std::array<const char*, 2> PostWinLabels{"WindowsTitle", "W_Comment"};
inline constexpr std::array<const char*, 3> CreateListDataWinLabels{"WindowsTitle", "W_CancelBut",
                                                                    "W_Comment"};
} // namespace UIDialog
