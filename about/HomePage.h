// The maker's home page, opened by "KEL Home" in the main window and by the About dialog.
// The reserved .example domain stands for it: it can never belong to anyone else.
#pragma once

inline constexpr const char* kHomePageUrl = "https://kel.example/";
