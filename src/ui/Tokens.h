// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFont>
#include <QRgb>

// Every number of the panel's look in one place: colours, type, spacing,
// radii and motion. Sizes are logical pixels; the paint code names a token,
// never a bare number.
namespace tavolen::ui::tokens {

// A colour with one value for light and one for dark surroundings.
struct Appearance2 {
    QRgb light;
    QRgb dark;
};

namespace color {
inline constexpr Appearance2 accent{0x6C5CE7, 0x9B87FE};
inline constexpr Appearance2 caution{0xC2762E, 0xDDA055};
inline constexpr Appearance2 danger{0xB4453C, 0xD97469};
// The breathing progress mark keeps one colour in both appearances.
inline constexpr QRgb progressMark = 0x7D6CED;

// Text on glass: the label hierarchy as black (light) or white (dark) at
// falling opacities, so it reads on whatever the glass lets through.
inline constexpr Appearance2 labelBase{0x000000, 0xFFFFFF};
inline constexpr double primaryAlpha = 0.87;
inline constexpr double secondaryAlpha = 0.6;
inline constexpr double tertiaryAlpha = 0.4;
inline constexpr double quaternaryAlpha = 0.16;

// Glass: the fill that stands in for the blurred material. Unblurred,
// whatever shows through is the lines and letters behind running through
// the card's own text, so without blur the fill is solid.
inline constexpr Appearance2 glassFill{0xF7F7FA, 0x232329};
inline constexpr double glassAlpha = 1;
inline constexpr double glassAlphaBlurred = 0.72;
inline constexpr double glassBorderTop = 0.38;
inline constexpr double glassBorderBottom = 0.05;
inline constexpr double shadowAlpha = 0.28;
} // namespace color

struct TypeStyle {
    double px;
    QFont::Weight weight = QFont::Normal;
    double tracking = 0;    // extra space after every character
    double lineSpacing = 0; // extra space between wrapped lines
};

namespace type {
// Chinese text: a family with real weights, so semibold stays semibold, and
// full-width punctuation.
inline constexpr auto chineseFamily = "Noto Sans CJK SC";
inline constexpr TypeStyle toneChip{11, QFont::DemiBold, 0.3};
inline constexpr TypeStyle summary{13, QFont::DemiBold, 0, 2};
inline constexpr TypeStyle translationToggle{11.5, QFont::DemiBold};
inline constexpr TypeStyle translation{12, QFont::Normal, 0, 2.5};
inline constexpr TypeStyle sectionHeading{10.5, QFont::DemiBold, 0.6};
inline constexpr TypeStyle sectionText{12, QFont::Normal, 0, 2.5};
inline constexpr TypeStyle riskLine{12};
inline constexpr TypeStyle reply{13, QFont::Normal, 0, 3};
inline constexpr TypeStyle gloss{11.5, QFont::Normal, 0, 2};
inline constexpr TypeStyle copiedBadge{10, QFont::DemiBold};
inline constexpr TypeStyle chip{11.5, QFont::Medium};
inline constexpr TypeStyle trustBadge{10};
inline constexpr TypeStyle readingOnly{11};
inline constexpr TypeStyle body{13};
inline constexpr TypeStyle streamingNote{11.5};
inline constexpr TypeStyle pillLine{12};
inline constexpr TypeStyle button{13, QFont::DemiBold};
// Glyph sizes, as the font size of the symbol they stand beside.
inline constexpr double globeGlyph = 10;
inline constexpr double closeGlyph = 9;
inline constexpr double pillIcon = 13;
inline constexpr double pillCloseGlyph = 8;
} // namespace type

namespace space {
inline constexpr double contentPadding = 18;
inline constexpr double contentSpacing = 12;
inline constexpr double headerSpacing = 8;
inline constexpr double headerTrailing = 22; // room for the close button
inline constexpr double translationSpacing = 6;
inline constexpr double sectionSpacing = 5;
inline constexpr double replySectionSpacing = 10;
inline constexpr double chipRowSpacing = 8;
inline constexpr double cardPadding = 12;
inline constexpr double cardSpacing = 8;
inline constexpr double glossSpacing = 6;
inline constexpr double glossGlyphTop = 1.5;
inline constexpr double labelGlyphSpacing = 5;
inline constexpr double badgeH = 8, badgeV = 3.5;
inline constexpr double toneChipH = 9, toneChipV = 3.5;
inline constexpr double chipH = 11, chipV = 4.5;
inline constexpr double progressPadding = 20;
inline constexpr double progressSpacing = 10;
inline constexpr double streamingRowSpacing = 8;
inline constexpr double errorTrailingExtra = 16;
inline constexpr double permissionTrailing = 16;
inline constexpr double buttonH = 14, buttonV = 6;
inline constexpr double closeInset = 10;
inline constexpr double closeSize = 22;
inline constexpr double pillH = 14, pillV = 9;
inline constexpr double pillSpacing = 8;
inline constexpr double shadowMargin = 18;
} // namespace space

namespace size {
inline constexpr double panelWidth = 400;
inline constexpr double panelMinHeight = 44;
// The height of a typical finished reading: a run's side of the selection is
// chosen for it rather than for the small card that shows first.
inline constexpr double panelPlanHeight = 360;
inline constexpr double pillMaxWidth = 340;
inline constexpr double loadingMark = 20;
inline constexpr double streamingMark = 14;
} // namespace size

namespace radius {
inline constexpr double card = 22;
inline constexpr double replyCard = 8;
} // namespace radius

namespace line {
inline constexpr double focusRing = 1.5;
// The room below a text button's text for its focus underline.
inline constexpr double focusRingRoom = 3;
inline constexpr double glassBorder = 1;
inline constexpr double riskOutline = 1.5;
inline constexpr double riskOutlineAlpha = 0.55;
inline constexpr double replyCard = 1;
inline constexpr double toneChipBorder = 0.5;
} // namespace line

namespace fill {
inline constexpr double toneChip = 0.16, toneChipBorder = 0.25;
inline constexpr double replyCard = 0.09;
inline constexpr double replyBorderRest = 0.16, replyBorderHover = 0.4;
inline constexpr double badgeRest = 0.13, badgePulse = 0.3;
inline constexpr double closeCircle = 0.6;
inline constexpr double chipTint = 0.05;
} // namespace fill

// Springs as response (seconds) and damping fraction.
struct SpringTuning {
    double response;
    double damping;
};

namespace motion {
inline constexpr SpringTuning hoverLift{0.25, 0.7};
inline constexpr SpringTuning entrance{0.32, 0.8};
inline constexpr SpringTuning cardHover{0.28, 0.75};
inline constexpr SpringTuning badgePulse{0.25, 0.6};
inline constexpr SpringTuning variantSwitch{0.3, 0.85};
inline constexpr double liftScale = 1.05;
inline constexpr double liftBrightness = 0.06;
inline constexpr double entranceScale = 0.97;
inline constexpr double badgeScale = 1.1;
inline constexpr int badgeHoldMs = 450;
inline constexpr int badgeFadeMs = 300;
inline constexpr int breathMs = 800;
inline constexpr double breathLow = 0.35;
} // namespace motion

// The shell's own surfaces: the ready toast, the onboarding window and the
// sample post of the first-run demonstration.
namespace shell {
// The brand mark wherever it stands alone, in both appearances.
inline constexpr QRgb brandMark = 0x7D6CED;

namespace toast {
inline constexpr TypeStyle text{12, QFont::Medium};
inline constexpr double mark = 16;
inline constexpr double spacing = 9;
inline constexpr double padH = 14, padV = 9;
inline constexpr double proposedWidth = 320; // the content is measured at this width
inline constexpr double iconGap = 8;         // between the tray icon and the toast
inline constexpr double edgeInset = 8;       // from the right edge of the usable area
inline constexpr double topInset = 60;       // without a tray icon: below the top
inline constexpr double shadowMargin = 10;   // room for the shadow where a compositor shows it
inline constexpr int fadeInMs = 250;
inline constexpr int hideAfterMs = 2800;
inline constexpr int fadeOutMs = 400;
} // namespace toast

namespace onboarding {
inline constexpr double width = 440;
inline constexpr double padding = 36;
inline constexpr double paddingTop = 44;
inline constexpr double spacing = 22;
inline constexpr double mark = 72;
inline constexpr TypeStyle headline{21, QFont::Bold};
inline constexpr TypeStyle intro{13, QFont::Normal, 0, 3};
inline constexpr TypeStyle cardTitle{13, QFont::DemiBold};
inline constexpr TypeStyle cardText{12, QFont::Normal, 0, 2};
inline constexpr TypeStyle status{12};
inline constexpr TypeStyle button{13, QFont::DemiBold};
inline constexpr double cardRadius = 14;
inline constexpr double cardPadding = 16;
inline constexpr double cardSpacing = 8;
inline constexpr double statusTop = 2; // extra room above the status row
inline constexpr double statusDot = 8;
inline constexpr double statusSpacing = 8;
inline constexpr QRgb granted = 0x34C759;          // the platform's standard green
inline constexpr double buttonH = 20, buttonV = 8; // a large control
inline constexpr int pollMs = 1000;
inline constexpr int refreshMs = 1000;
inline constexpr int quitAfterRelaunchMs = 300;
inline constexpr Appearance2 background{0xE9E9EF, 0x1F1F24};
} // namespace onboarding

// The sample post is always light, whatever the desktop's appearance.
namespace demoPost {
inline constexpr double width = 420;
inline constexpr double padding = 20;
inline constexpr double spacing = 10;
inline constexpr double avatar = 40;
inline constexpr QRgb avatarColour = 0x5973D9; // 0.35, 0.45, 0.85
inline constexpr TypeStyle initial{18, QFont::Bold};
inline constexpr TypeStyle name{14, QFont::DemiBold};
inline constexpr TypeStyle time{11};
inline constexpr double nameSpacing = 2;
inline constexpr TypeStyle message{14};
inline constexpr QRgb bubble = 0xF0F0F0; // white level 0.94
inline constexpr double bubbleRadius = 12;
inline constexpr double bubblePadding = 12;
inline constexpr double scale = 2;
inline constexpr int jpegQuality = 90;
} // namespace demoPost
} // namespace shell

} // namespace tavolen::ui::tokens
