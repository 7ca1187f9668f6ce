<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>Mensagem</name>
    <message>
        <source>Confirmação</source>
        <translation>Confirmación</translation>
    </message>
    <message>
        <source>Sim</source>
        <translation>Sí</translation>
    </message>
    <message>
        <source>Não</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Atenção</source>
        <translation>Atención</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
</context>
<context>
    <name>MensagemMetodo</name>
    <message>
        <source>o serviço falhou sem informar o motivo</source>
        <translation>el servicio falló sin indicar el motivo</translation>
    </message>
    <message>
        <source>resultado inválido</source>
        <translation>resultado no válido</translation>
    </message>
    <message>
        <source>Erro em %1 (%2): %3</source>
        <translation>Error en %1 (%2): %3</translation>
    </message>
    <message>
        <source>Erro em %1 (%2) com os argumentos %3: %4</source>
        <translation>Error en %1 (%2) con los argumentos %3: %4</translation>
    </message>
</context>
<context>
    <name>TADOSqlStorage</name>
    <message>
        <source>O texto SQL não pode ser aplicado: nenhuma consulta vinculada.</source>
        <translation>El texto SQL no se puede aplicar: no hay consulta vinculada.</translation>
    </message>
    <message>
        <source>O texto SQL não pode ser escolhido: tipo de banco de dados desconhecido.</source>
        <translation>El texto SQL no se puede elegir: tipo de base de datos desconocido.</translation>
    </message>
    <message>
        <source>Não há texto SQL para o banco de dados %1 (%2).</source>
        <translation>No hay texto SQL para la base de datos %1 (%2).</translation>
    </message>
</context>
<context>
    <name>TMessages</name>
    <message>
        <source>Não foi possível ler a tabela de mensagens %1: %2</source>
        <translation>No se pudo leer la tabla de mensajes %1: %2</translation>
    </message>
</context>
<context>
    <name>TouchMensagem</name>
    <message>
        <source>Crachá</source>
        <translation>Gafete</translation>
    </message>
    <message>
        <source>Mensagem</source>
        <translation>Mensaje</translation>
    </message>
    <message>
        <source>Sim</source>
        <translation>Sí</translation>
    </message>
    <message>
        <source>Não</source>
        <translation>No</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
</context>
</TS>
