// Command identifiers shared by the menus, accelerators, tool bars, the tray
// and system menus and the string table of status bar help texts; and the
// private window messages.
#pragma once

#include <cstdint>

using CommandId = uint16_t;

// File
constexpr CommandId kCmdFolderNew = 100;
constexpr CommandId kCmdFolderRename = 101;
constexpr CommandId kCmdFolderDelete = 102;
constexpr CommandId kCmdListNew = 103;
constexpr CommandId kCmdListEdit = 104;
constexpr CommandId kCmdCacheUpdate = 105;
constexpr CommandId kCmdCacheForceUpdate = 106;
constexpr CommandId kCmdCacheNew = 107;
constexpr CommandId kCmdCacheDelete = 108;
constexpr CommandId kCmdEditSong = 109;
constexpr CommandId kCmdEditWrd = 110;
constexpr CommandId kCmdEditDocument = 111;
constexpr CommandId kCmdChangeTitle = 112;
constexpr CommandId kCmdChangeComment = 113;
constexpr CommandId kCmdChangeModule = 114;
constexpr CommandId kCmdExportHtml = 115;
constexpr CommandId kCmdProperties = 116;
constexpr CommandId kCmdShellProperties = 117;
constexpr CommandId kCmdExit = 118;
constexpr CommandId kCmdDeleteSettingsAndExit = 119;

// Edit
constexpr CommandId kCmdCopy = 200;
constexpr CommandId kCmdPaste = 201;
constexpr CommandId kCmdDelete = 202;
constexpr CommandId kCmdSelectAll = 203;
constexpr CommandId kCmdInvertSelection = 204;
constexpr CommandId kCmdFind = 300;
constexpr CommandId kCmdFindPrevious = 301;
constexpr CommandId kCmdFindNext = 302;
constexpr CommandId kCmdSelect = 303;
constexpr CommandId kCmdNarrow = 310;
constexpr CommandId kCmdNarrowSelection = 311;
constexpr CommandId kCmdWidenOne = 312;
constexpr CommandId kCmdWidenAll = 313;

// Search bar
constexpr CommandId kCmdBarSearchUp = 350;
constexpr CommandId kCmdBarSearchDown = 351;
constexpr CommandId kCmdBarSelect = 352;
constexpr CommandId kCmdBarNarrow = 353;
constexpr CommandId kCmdBarWiden = 354;
constexpr CommandId kCmdFocusSearchBar = 355;

// View
constexpr CommandId kCmdBandProperty = 400;
constexpr CommandId kCmdBandSearch = 401;
constexpr CommandId kCmdBandPlay = 402;
constexpr CommandId kCmdBandReset = 403;
constexpr CommandId kCmdStatusBar = 404;
constexpr CommandId kCmdPlayPalette = 405;
constexpr CommandId kCmdViewButton = 406;
constexpr CommandId kCmdViewLargeIcons = 407;
constexpr CommandId kCmdViewSmallIcons = 408;
constexpr CommandId kCmdViewList = 409;
constexpr CommandId kCmdViewDetails = 410;
constexpr CommandId kCmdSortAscending = 411;
constexpr CommandId kCmdSortDescending = 412;
constexpr CommandId kCmdSortByName = 413;
constexpr CommandId kCmdSortByTitle = 414;
constexpr CommandId kCmdSortByComment = 415;
constexpr CommandId kCmdSortByModule = 416;
constexpr CommandId kCmdSortByDate = 417;
constexpr CommandId kCmdSortNone = 418;
constexpr CommandId kCmdRefresh = 419;

// Play
constexpr CommandId kCmdPlay = 500;
constexpr CommandId kCmdPlaySequential = 501;
constexpr CommandId kCmdPlayRandom = 502;
constexpr CommandId kCmdPlayRandomFromHere = 503;
constexpr CommandId kCmdPlayRepeat = 504;
constexpr CommandId kCmdPlayCancel = 505;
constexpr CommandId kCmdPause = 506;
constexpr CommandId kCmdStop = 507;
constexpr CommandId kCmdPrevious = 508;
constexpr CommandId kCmdNext = 509;

// Folder tree context menu
constexpr CommandId kCmdTreePlaySequential = 570;
constexpr CommandId kCmdTreePlayRandom = 571;
constexpr CommandId kCmdTreeEditList = 572;
constexpr CommandId kCmdTreeNewFolder = 573;
constexpr CommandId kCmdTreeNewList = 574;
constexpr CommandId kCmdTreeRename = 575;
constexpr CommandId kCmdTreeDelete = 576;
constexpr CommandId kCmdTreeEject = 577;

// Players: 600 + PlayerKind for the twelve players, 612 the user's own.
constexpr CommandId kCmdPlayerFirst = 600;
constexpr CommandId kCmdPlayerUser = 612;
constexpr CommandId kCmdLaunchPlayer = 690;

constexpr CommandId kCmdSettings = 700;
constexpr CommandId kCmdManual = 800;
constexpr CommandId kCmdVersion = 801;

// Reached by keys only.
constexpr CommandId kCmdContextMenu = 50;
constexpr CommandId kCmdCopyTo = 51;
constexpr CommandId kCmdMoveTo = 52;
constexpr CommandId kCmdChangeFolder = 53;

// Drop menu of drag-and-drop, read back by the drop code itself.
constexpr CommandId kCmdDropCopy = 900;
constexpr CommandId kCmdDropMove = 901;
constexpr CommandId kCmdDropCancel = 910;

// Tray menu window commands, handled by the main window.
constexpr CommandId kCmdRestore = 920;
constexpr CommandId kCmdMaximize = 921;
constexpr CommandId kCmdClose = 922;

// List editor (accelerator table 2).
constexpr CommandId kCmdEditorNew = 130;
constexpr CommandId kCmdEditorOpen = 131;
constexpr CommandId kCmdEditorSave = 132;
constexpr CommandId kCmdEditorInsert = 230;
constexpr CommandId kCmdEditorChange = 232;
constexpr CommandId kCmdEditorCut = 235;
constexpr CommandId kCmdEditorCopy = 236;
constexpr CommandId kCmdEditorPaste = 237;
constexpr CommandId kCmdEditorSelectAll = 238;
constexpr CommandId kCmdEditorRefresh = 332;
constexpr CommandId kCmdEditorHelp = 431;

// Resource identifiers.
constexpr int kMainMenu = 1;
constexpr int kMainAccelerators = 1;
constexpr int kEditorAccelerators = 2;

// Private messages (WM_USER based).
constexpr unsigned kMsgPlayControl = 0x500;
constexpr unsigned kMsgPlayControl2 = 0x501;
constexpr unsigned kMsgSortColumn = 0x502;
constexpr unsigned kMsgTrayIcon = 0x503;
constexpr unsigned kMsgRaisePalette = 0x504;
constexpr unsigned kMsgOpenPalette = 0x505;
constexpr unsigned WM_DRIVE_CHANGED = 0x506;
constexpr unsigned WM_FOLDER_CHANGED = 0x507;
// To MainWindow: open what a second start handed over (kept by the window).
constexpr unsigned kMsgOpenHandedOver = 0x508;

// WM_COPYDATA kind of a second start's command line (its bytes with the
// terminator): "QCmd".
constexpr unsigned long kCopyDataCommandLine = 0x51436D64;
