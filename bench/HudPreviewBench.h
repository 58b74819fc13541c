// The HUD text preview scenario of the benchmark: one whole frame of the wizard's preview against the
// floor of copying its background once.
#pragma once

// Prints key=value lines: hud_floor_ms, hud_frame_ms, hud_long_frame_ms.
int HudPreviewScenario(int argc, char** argv);
