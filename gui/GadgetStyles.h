// The style bits of each kind of gadget and the flags of SetPixmap: the numbers the Make... functions
// take, by name.
#pragma once

// Window style bits.
namespace WindowStyle {
inline constexpr int TitleBar = 1;
inline constexpr int Resizable = 2;
inline constexpr int MenuBar = 4;
inline constexpr int StatusBar = 8;
inline constexpr int ToolWindow = 0x10;
inline constexpr int ClientCoords = 0x20;
inline constexpr int Hidden = 0x40;
inline constexpr int AcceptFiles = 0x80;
inline constexpr int Centred = 0x200;
} // namespace WindowStyle

// Button style: the low three bits choose the kind; 8 gives check and radio boxes a push-button look.
namespace ButtonStyle {
inline constexpr int Push = 0;
inline constexpr int CheckBox = 2;
inline constexpr int Radio = 3;
inline constexpr int Ok = 4;
inline constexpr int Cancel = 5;
inline constexpr int PushLike = 8;
} // namespace ButtonStyle

// Panel style: the low two bits choose the frame; Active makes a panel report the mouse.
namespace PanelStyle {
inline constexpr int KindMask = 3;
inline constexpr int Plain = 0;
inline constexpr int Sunken = 1;
inline constexpr int Raised = 2;
inline constexpr int Group = 3;
inline constexpr int Active = 4;
inline constexpr int Canvas = 8;
} // namespace PanelStyle

// Label style: a frame and an alignment.
namespace LabelStyle {
inline constexpr int FrameMask = 7;
inline constexpr int FlatFrame = 1;
inline constexpr int SunkenFrame = 2;
inline constexpr int AlignMask = 0x18;
inline constexpr int AlignRight = 8;
inline constexpr int AlignCentre = 0x10;
// A left click on the label raises its GadgetAction, as a button's does.
inline constexpr int Clickable = 0x20;
} // namespace LabelStyle

// Flags of SetPixmap.
namespace PixmapFlag {
inline constexpr int WindowIcon = 8; // a window's pixmap becomes its icon
} // namespace PixmapFlag
