#pragma once

// The numbered user-level actions the session runs for methods, keys and menus.
namespace PaneCommand {
inline constexpr int ServerSelectAll = 10000;
inline constexpr int Download = 10002;
inline constexpr int ServerOpen = 10003;
inline constexpr int ServerViewLargeIcons = 10004;
inline constexpr int ServerViewSmallIcons = 10005;
inline constexpr int ServerViewList = 10006;
inline constexpr int ServerDelete = 10007;
inline constexpr int ServerViewDetails = 10008;
inline constexpr int ServerUpFolder = 10009;
inline constexpr int ServerNewFolder = 10010;
inline constexpr int ServerRefresh = 10011;
inline constexpr int LocalSelectAll = 10012;
inline constexpr int LocalUpFolder = 10013;
inline constexpr int AddLocalSelection = 10014;
inline constexpr int AddLocalListSelection = 10015;
inline constexpr int LocalRefresh = 10016;
inline constexpr int LocalDelete = 10017;
inline constexpr int LocalNewFolder = 10019;
inline constexpr int LocalOpen = 10020;
inline constexpr int LocalViewLargeIcons = 10021;
inline constexpr int LocalViewSmallIcons = 10022;
inline constexpr int LocalViewList = 10023;
inline constexpr int LocalViewDetails = 10024;
} // namespace PaneCommand
