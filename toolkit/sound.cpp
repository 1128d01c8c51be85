#include <stdio.h>

#include "toolkit/toolkit.h"

std::atomic<Mix_Music *> smusic{NULL};

static const struct {
    int id;
    const char *file;
    int loops;
} sounds[] = {
    {1, "sfx/msx_menu.ogg", -1},
    {2, "sfx/msx_game.ogg", -1},
    {3, "sfx/aplause.wav", 1},
    {4, "sfx/bad_answer.wav", 1},
    {5, "sfx/button.wav", 1},
    {6, "sfx/button_press.wav", 1},
    {7, "sfx/half.wav", 1},
    {8, "sfx/name_input.wav", 1},
    {9, "sfx/peoples.wav", 1},
    {10, "sfx/start_button.wav", 1},
    {11, "sfx/telephone.wav", 1},
    {12, "sfx/winner.wav", 1},
};

void open_audio()
{
    if (Mix_OpenAudio(44100, AUDIO_S16MSB, 2, 4096) < 0) {
        printf("Unable to initialize audio\n");
        return;
    }
    int frequency, channels;
    Uint16 format;
    Mix_QuerySpec(&frequency, &format, &channels);
}

// Halt first: once the music is halted the mixer can no longer call
// musicDone for it, and the exchange hands the handle to one owner only.
static void release_sound()
{
    Mix_HaltMusic();
    Mix_Music *old = smusic.exchange(NULL);
    if (old != NULL)
        Mix_FreeMusic(old);
}

void play_sound(int id)
{
    if (smusic.load() != NULL)
        release_sound();
    for (const auto &sound : sounds) {
        if (sound.id == id) {
            Mix_Music *music_handle = Mix_LoadMUS(sound.file);
            smusic.store(music_handle);
            Mix_PlayMusic(music_handle, sound.loops);
            Mix_HookMusicFinished(musicDone);
            return;
        }
    }
    // -1, or any id without a file, only stops.
    release_sound();
}

// Called on the mixer's thread when an effect ends by itself.
void musicDone()
{
    release_sound();
}
