// Stands for a profile reader's header in the planted tree.
