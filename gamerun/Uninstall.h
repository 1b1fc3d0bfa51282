#pragma once
// The "/u" road (uninstall the level) and the "/l" road (list the media
// triggers).

void DisinstallaLivello();
void MostraListaMedia();
