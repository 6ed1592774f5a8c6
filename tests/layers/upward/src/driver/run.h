// Stands for the run's header in the planted tree.
