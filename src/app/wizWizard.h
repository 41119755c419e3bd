#pragma once
// Start-up services of the wizard sheet.

// True when the product's uninstall entry of that name opens with full access.
bool IsProductInstalled(const char* keyName);
