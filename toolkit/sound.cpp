// Sound: one tune or effect at a time on the mixer's music channel.
#include <stdio.h>

#include "toolkit/toolkit_local.h"

std::atomic<Mix_Music *> smusic{NULL};

static const struct {
    int id;
    const char *file;
    int loops;
} sounds[] = {
    {SND_MENU_TUNE, "sfx/msx_menu.ogg", -1},
    {SND_GAME_TUNE, "sfx/msx_game.ogg", -1},
    {SND_APPLAUSE, "sfx/aplause.wav", 1},
    {SND_WRONG, "sfx/bad_answer.wav", 1},
    {SND_CLICK, "sfx/button.wav", 1},
    {SND_PRESS, "sfx/button_press.wav", 1},
    {SND_FIFTY, "sfx/half.wav", 1},
    {SND_KEY, "sfx/name_input.wav", 1},
    {SND_AUDIENCE, "sfx/peoples.wav", 1},
    {SND_START, "sfx/start_button.wav", 1},
    {SND_TELEPHONE, "sfx/telephone.wav", 1},
    {SND_WINNER, "sfx/winner.wav", 1},
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
    // SND_STOP, or any id without a file, only stops.
    release_sound();
}

void musicDone()
{
    release_sound();
}
