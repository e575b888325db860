// Replaced as this folder fills.
