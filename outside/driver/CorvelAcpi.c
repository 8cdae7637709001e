/* The ACPI device's kernel driver image: loads and succeeds. The device's
   methods are reached through the ACPI access library's stand-in. */
typedef long NTSTATUS;

NTSTATUS __stdcall DriverEntry(void* driverObject, void* registryPath) {
  (void)driverObject;
  (void)registryPath;
  return 0; /* STATUS_SUCCESS */
}
