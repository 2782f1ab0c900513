/* An integrator's smallest program: create a document, have the library
 * process it with a certificate that is not there, read the result back and
 * free the document. Prints the result code and its value; exits 0 when the
 * library answered as documented. */
#include <drovanexis.h>
#include <stdio.h>
#include <stdlib.h>

int main(void) {
  const int32_t handle = Drovanexis_New("3.3");
  if (handle <= 0) return 1;
  const int32_t result =
      Drovanexis_ProcesaDocumento(handle, "missing.cer", "missing.key", "password", "out.xml");
  /* The text stays valid until the next call for the document: used first. */
  const char* code = Drovanexis_GetValue(handle, DROVANEXIS_VALUE_RESULT);
  printf("%d %s\n", (int)result, code == NULL ? "(null)" : code);
  const int answered = result != 0 && code != NULL && atoi(code) == result;
  Drovanexis_Free(handle);
  return answered ? 0 : 1;
}
