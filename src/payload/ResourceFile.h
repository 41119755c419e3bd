#pragma once
// Writes a cabinet (or any blob) stored in the program as a resource of the
// custom type "FILE" to disk.

// True when the whole resource was written to folder + "\" + fileName; an
// existing file of that name is replaced.
bool WriteResourceToFile(int resourceId, const char* folder, const char* fileName);
