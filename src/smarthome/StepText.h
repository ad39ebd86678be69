#pragma once

#include <string>

namespace quilo {

class PlugKeyFile;

// The text shown for a scene step's value, in language 0 Chinese or 1 English,
// UTF-8: a delay in seconds, off, on, an infrared key of the plug by its name in
// the plug's key file, a dimmer level in percent, or the number itself.
std::string stepText(int node, int value, int language, const PlugKeyFile& keys);

// The name of scene 0-5 ("TV", "Movie", "Karaoke", "Music", "PowerON",
// "PowerOFF" and their Chinese forms); empty for any other index.
std::string sceneName(int scene, int language);

} // namespace quilo
