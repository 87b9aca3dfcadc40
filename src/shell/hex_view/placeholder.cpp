// Placeholder until this folder has sources; remove it when the first real file lands.
