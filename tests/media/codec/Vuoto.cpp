// The codec files of the tests hold a version resource and no code.
