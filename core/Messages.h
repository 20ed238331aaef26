#pragma once
// Window messages, window titles, mutex and pipe names shared by Gearloom, Portwarden,
// Bellwick and the skinned controls. Windows are found with FindWindowW(nullptr, title)
// just before each send; a window that is not found means the message is skipped.

#include <windows.h>

// Skinned controls and side panels.
constexpr UINT WM_MARKER_CHANGED = WM_USER + 80;
constexpr UINT WM_PANEL_STATE = WM_USER + 100;
// Same number as WM_PANEL_STATE; the two never reach the same window.
constexpr UINT WM_SKINSCROLL_LAYOUT = WM_USER + 100;
constexpr UINT WM_PANEL_ESCAPE = WM_USER + 101;
constexpr UINT WM_CLOSE_PANEL = WM_USER + 102;

// Popup menus.
constexpr UINT WM_DPIMENU_SELECT = WM_USER + 200;
constexpr UINT WM_PROPERTIES_CLOSE_POPUP1 = WM_USER + 201;
constexpr UINT WM_PROPERTIES_CLOSE_POPUP2 = WM_USER + 202;
constexpr UINT WM_ILLUMINATION_CLOSE_POPUP = WM_USER + 203;
constexpr UINT WM_INTENSITYMENU_SELECT = WM_USER + 204;
constexpr UINT WM_PULSATIONMENU_SELECT = WM_USER + 205;
constexpr UINT WM_BUTTONMENU_SELECT = WM_USER + 206;
constexpr UINT WM_SCROLLMENU_SELECT = WM_USER + 208;
constexpr UINT WM_REGION_SELECT = WM_USER + 209;

// Service (Portwarden) and its notices to the other programs.
constexpr UINT WM_RELOAD_CONFIG = WM_USER + 255;
constexpr UINT WM_INJECT_BUTTONS = WM_USER + 261;
constexpr UINT WM_SERVICE_PING = WM_USER + 262;
constexpr UINT WM_SERVICE_PROFILE_CHANGED = WM_USER + 310;
constexpr UINT WM_SERVICE_BUTTON_STATE = WM_USER + 316;
constexpr UINT WM_SERVICE_DPI_CHANGED = WM_USER + 319;

constexpr UINT WM_MACRO_DISPLAY_FOCUS = WM_USER + 320;

// Drag and drop onto the main window, and the function picker.
constexpr UINT WM_DROP_PROFILE = WM_USER + 400;
constexpr UINT WM_DROP_FUNCTION = WM_USER + 401;
constexpr UINT WM_SELECT_CODE = WM_USER + 402;
constexpr UINT WM_NEW_MACRO = WM_USER + 501;
constexpr UINT WM_EDIT_MACRO = WM_USER + 503;
constexpr UINT WM_MACRO_FOLDER = WM_USER + 504;
constexpr UINT WM_ENABLE_MACRO_EDIT = WM_USER + 505;
constexpr UINT WM_CLEAR_SELECTION = WM_USER + 506;
constexpr UINT WM_DELETE_MACRO = WM_USER + 507;

constexpr UINT WM_COLOR_SELECTED = WM_USER + 600;
constexpr UINT WM_WINDOWS_KEY = WM_USER + 700;
constexpr UINT WM_DEVICE_EVENT = WM_USER + 701;
constexpr UINT WM_PROFILE_MENU = WM_USER + 704;

// Tray program (Bellwick).
constexpr UINT WM_SET_ICON_INACTIVE = WM_USER + 705;
constexpr UINT WM_SET_ICON_ACTIVE = WM_USER + 706;
constexpr UINT WM_TRAY_NOTIFY = WM_USER + 1000;
constexpr UINT WM_SHOW_TRAY_ICON = WM_USER + 1004;
constexpr UINT WM_PROFILE_CHANGE = WM_USER + 1030;

constexpr UINT WM_POPUP_CLOSED = WM_USER + 1500;

// Firmware.
constexpr UINT WM_FIRMWARE_UPDATE = WM_USER + 1900;
constexpr UINT WM_VERSION_CHANGED = WM_USER + 1905;
constexpr UINT WM_FIRMWARE_VERSIONS = WM_USER + 1910;

// OLE drop-target relay; wParam is a COleDropInfo pointer.
constexpr UINT WM_DROPTARGET_ENTER = WM_USER + 1976;
constexpr UINT WM_DROPTARGET_OVER = WM_USER + 1977;
constexpr UINT WM_DROPTARGET_DROP = WM_USER + 1978;
constexpr UINT WM_DROPTARGET_DROPEX = WM_USER + 1979;
constexpr UINT WM_DROPTARGET_LEAVE = WM_USER + 1980;

// WM_COMMAND identifier of a bitmap button's right click; lParam is the button's window.
constexpr WORD ID_BUTTON_RCLICK = 0xFF00;

// Pipe record number by which a client announces its id (lParam); never passed to a window.
constexpr int PIPE_MSG_CLIENT_ID = 1;

// Registered messages of the control interface; the quotes are part of the names.
constexpr const wchar_t* CONTROL_API_DISCOVER_NAME = L"'Qr8ControlAPIDiscover'";
constexpr const wchar_t* CONTROL_API_ATTACH_NAME = L"'Qr8ControlAPIAttach'";

// Window titles. The service and tray windows are created under one title and retitled
// once their creation has finished, so they are only findable under the final title.
constexpr const wchar_t* GEARLOOM_MAIN_TITLE = L"Eldvarra(R) MMO Gaming Mouse: Tharnic Edition";
constexpr const wchar_t* GEARLOOM_ABOUT_TITLE = L"Eldvarra MMO Gaming Mouse Software QR8- ABOUT";
constexpr const wchar_t* PORTWARDEN_WINDOW_TITLE = L"Pelmora_Qr8_Mouse_Hid";
constexpr const wchar_t* PORTWARDEN_CREATION_TITLE = L"Pelmorra_Qr8_Mouse_HID";
constexpr const wchar_t* BELLWICK_WINDOW_TITLE = L"Pelmora_Qr8_TrayIcon";
constexpr const wchar_t* BELLWICK_CREATION_TITLE = L"Pelmorra_Qr8_Mouse_TrayIcon";

// Single-instance mutexes.
constexpr const wchar_t* GEARLOOM_MUTEX_NAME = L"Korvath_Qr8_AP";
constexpr const wchar_t* PORTWARDEN_MUTEX_NAME = L"Pelmorra_Qr8_Mouse_Control";
constexpr const wchar_t* BELLWICK_MUTEX_NAME = L"Pelmorra_Qr8_Mouse_TrayIcon";

// Named pipe between Gearloom (client) and Portwarden (server).
constexpr const wchar_t* PIPE_NAME = L"\\\\.\\pipe\\ULKTharnicEditionMouse";

// The numbers are fixed: other programs send them.
static_assert(WM_USER == 1024, "WM_USER");
static_assert(WM_MARKER_CHANGED == 1104, "WM_MARKER_CHANGED");
static_assert(WM_PANEL_STATE == 1124, "WM_PANEL_STATE");
static_assert(WM_SKINSCROLL_LAYOUT == 1124, "WM_SKINSCROLL_LAYOUT");
static_assert(WM_PANEL_ESCAPE == 1125, "WM_PANEL_ESCAPE");
static_assert(WM_CLOSE_PANEL == 1126, "WM_CLOSE_PANEL");
static_assert(WM_DPIMENU_SELECT == 1224, "WM_DPIMENU_SELECT");
static_assert(WM_PROPERTIES_CLOSE_POPUP1 == 1225, "WM_PROPERTIES_CLOSE_POPUP1");
static_assert(WM_PROPERTIES_CLOSE_POPUP2 == 1226, "WM_PROPERTIES_CLOSE_POPUP2");
static_assert(WM_ILLUMINATION_CLOSE_POPUP == 1227, "WM_ILLUMINATION_CLOSE_POPUP");
static_assert(WM_INTENSITYMENU_SELECT == 1228, "WM_INTENSITYMENU_SELECT");
static_assert(WM_PULSATIONMENU_SELECT == 1229, "WM_PULSATIONMENU_SELECT");
static_assert(WM_BUTTONMENU_SELECT == 1230, "WM_BUTTONMENU_SELECT");
static_assert(WM_SCROLLMENU_SELECT == 1232, "WM_SCROLLMENU_SELECT");
static_assert(WM_REGION_SELECT == 1233, "WM_REGION_SELECT");
static_assert(WM_RELOAD_CONFIG == 1279, "WM_RELOAD_CONFIG");
static_assert(WM_INJECT_BUTTONS == 1285, "WM_INJECT_BUTTONS");
static_assert(WM_SERVICE_PING == 1286, "WM_SERVICE_PING");
static_assert(WM_SERVICE_PROFILE_CHANGED == 1334, "WM_SERVICE_PROFILE_CHANGED");
static_assert(WM_SERVICE_BUTTON_STATE == 1340, "WM_SERVICE_BUTTON_STATE");
static_assert(WM_SERVICE_DPI_CHANGED == 1343, "WM_SERVICE_DPI_CHANGED");
static_assert(WM_MACRO_DISPLAY_FOCUS == 1344, "WM_MACRO_DISPLAY_FOCUS");
static_assert(WM_DROP_PROFILE == 1424, "WM_DROP_PROFILE");
static_assert(WM_DROP_FUNCTION == 1425, "WM_DROP_FUNCTION");
static_assert(WM_SELECT_CODE == 1426, "WM_SELECT_CODE");
static_assert(WM_NEW_MACRO == 1525, "WM_NEW_MACRO");
static_assert(WM_EDIT_MACRO == 1527, "WM_EDIT_MACRO");
static_assert(WM_MACRO_FOLDER == 1528, "WM_MACRO_FOLDER");
static_assert(WM_ENABLE_MACRO_EDIT == 1529, "WM_ENABLE_MACRO_EDIT");
static_assert(WM_CLEAR_SELECTION == 1530, "WM_CLEAR_SELECTION");
static_assert(WM_DELETE_MACRO == 1531, "WM_DELETE_MACRO");
static_assert(WM_COLOR_SELECTED == 1624, "WM_COLOR_SELECTED");
static_assert(WM_WINDOWS_KEY == 1724, "WM_WINDOWS_KEY");
static_assert(WM_DEVICE_EVENT == 1725, "WM_DEVICE_EVENT");
static_assert(WM_PROFILE_MENU == 1728, "WM_PROFILE_MENU");
static_assert(WM_SET_ICON_INACTIVE == 1729, "WM_SET_ICON_INACTIVE");
static_assert(WM_SET_ICON_ACTIVE == 1730, "WM_SET_ICON_ACTIVE");
static_assert(WM_TRAY_NOTIFY == 2024, "WM_TRAY_NOTIFY");
static_assert(WM_SHOW_TRAY_ICON == 2028, "WM_SHOW_TRAY_ICON");
static_assert(WM_PROFILE_CHANGE == 2054, "WM_PROFILE_CHANGE");
static_assert(WM_POPUP_CLOSED == 2524, "WM_POPUP_CLOSED");
static_assert(WM_FIRMWARE_UPDATE == 2924, "WM_FIRMWARE_UPDATE");
static_assert(WM_VERSION_CHANGED == 2929, "WM_VERSION_CHANGED");
static_assert(WM_FIRMWARE_VERSIONS == 2934, "WM_FIRMWARE_VERSIONS");
static_assert(WM_DROPTARGET_ENTER == 3000, "WM_DROPTARGET_ENTER");
static_assert(WM_DROPTARGET_OVER == 3001, "WM_DROPTARGET_OVER");
static_assert(WM_DROPTARGET_DROP == 3002, "WM_DROPTARGET_DROP");
static_assert(WM_DROPTARGET_DROPEX == 3003, "WM_DROPTARGET_DROPEX");
static_assert(WM_DROPTARGET_LEAVE == 3004, "WM_DROPTARGET_LEAVE");
static_assert(ID_BUTTON_RCLICK == 65280, "ID_BUTTON_RCLICK");
static_assert(PIPE_MSG_CLIENT_ID == 1, "PIPE_MSG_CLIENT_ID");
