#pragma once

class RegistryStore;

// The program's store for code that no window part hands one to (the
// engine layer reading zones and content switches before each page): one
// connection per thread, kept open. Opening checks the whole file, which is
// too dear to repeat for every page; reads still go to the database each
// time, so other copies' writes are seen at once.
class ProgramStore
{
public:
    // Opened anew when the store's place changed (another QUILLWAVE_HOME).
    static RegistryStore& get();
};
