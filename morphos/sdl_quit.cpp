// In this build SDL shuts down when powersdl.library is closed, after
// main, so the game's SDL_Quit does nothing. Hidden, so that it never
// stands in for the library's own SDL_Quit. No SDL header here: theirs
// declares the name visible.
extern "C" __attribute__((visibility("hidden"))) void SDL_Quit(void) {}
