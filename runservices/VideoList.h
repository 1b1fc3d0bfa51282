#pragma once
// The display modes of the game's Direct3D device, from the video list that
// Vistrelo writes, and the resolution the run needs.
#include <cstdint>
#include <string>
#include <vector>

#include "displaymodes/VideoListFile.h"
#include "runservices/RunState.h"
#include "runservices/TombSettingsRecord.h"

extern std::vector<VideoMode> ListaModiVideo;
extern int32_t NumModiVideo;

bool EnumerateVideoMode();
// The modes of the chosen list. <DD> and <D3D> are the wanted device and,
// with <primoHardware>, become those of the first hardware list.
std::vector<VideoMode> GetTombVideoList(bool primoHardware, int32_t& DD, int32_t& D3D, int32_t hardware,
                                        int32_t& numeroModi, bool& esisteHardware, bool& errore);
// The fixed sizes of the header's resolution codes 1 to 3; False (sizes
// untouched) for any other code.
bool DimensioniCodiceRisoluzione(int32_t codice, int32_t& larghezza, int32_t& altezza);
bool RequiredResolution(int32_t& larghezza, int32_t& altezza);
// The index of the mode of ListaModiVideo with exactly this size and depth,
// or -1 (with a warning line).
int32_t VerificaRisoluzione(int32_t larghezza, int32_t altezza, int32_t bits);
void VerificaDifferenzaVideo(int32_t larghezza, int32_t altezza);
std::string LogVideoList(const std::vector<VideoMode>& modi, int32_t numeroModi);
std::string LogImpostazioniVideo(const ImpostazioniTomb& imp);
std::string TestoModoVideo(int32_t indice);
float CalcolaRatioForRect(const Rettangolo& r);

// The stored list: the store folder's videolist.bin.
std::string PercorsoVideoList();
