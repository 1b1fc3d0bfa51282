#pragma once
// Flags of the main tick's loading watch, raised by the logger client.

extern bool AttesaCaricamentoGioco;
extern bool AttesaFineCaricamentoGioco;
