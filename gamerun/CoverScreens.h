#pragma once
// The cover window laid over the desktop. Least form: no cover is shown yet.

bool CoverVisibile();
void NascondiCover();
