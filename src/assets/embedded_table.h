#pragma once
// The table the build generates from the files under assets/.

struct EmbeddedEntry {
    const char* key;
    const unsigned char* begin;
    const unsigned char* end;
};

extern const EmbeddedEntry EMBEDDED_FILES[];
extern const long EMBEDDED_FILE_COUNT;
