// Stands for a header of the statements layer, included without its folder.
