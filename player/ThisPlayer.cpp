// The one place where the build's choice of player is read: the shell of
// each executable is compiled with TELVANTIS_PLAYER_KIND set to a PlayerKind
// value.
#include "player/PlayerVariant.h"

#ifndef TELVANTIS_PLAYER_KIND
#error "TELVANTIS_PLAYER_KIND names the player built: StreamBuffer or TransportStream"
#endif

const PlayerVariant& ThisPlayer() { return PlayerVariant::For(PlayerKind::TELVANTIS_PLAYER_KIND); }
