// The seven files built into the executable: keyword and item lists, toolbar and preview images, HUD font.
#pragma once

// Registers them with the embedded-file registry under their "incbins/..." names, in their fixed order.
void RegisterEmbeddedFiles();
