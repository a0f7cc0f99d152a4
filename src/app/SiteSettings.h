#pragma once
// Section [Site] of the settings file: key BaseAddress points the program at
// another server (a local test or demonstration site). The program reads this
// section and never rewrites it.

class IniFile;

// Sets the site's base address from [Site] BaseAddress when the key holds a
// value; otherwise the built-in address stays.
void ApplySiteSettings(const IniFile& settings);
