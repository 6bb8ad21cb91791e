#pragma once
// The X11 side of the SDL backend, apart so that the X headers' macros stay out of the
// rest of it.

struct SDL_Window;

namespace plat {

// The socket of the X display connection that window lives on, or -1 when SDL does not
// run on X11.
int X11ConnectionFd(SDL_Window* window);

} // namespace plat
